#pragma once

#include "calcsettings.h"
#include "holder.h"
#include "picturecache.h"

#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QSize>
#include <memory>
#include <optional>

// The skin's icon and pictures, read from the program folder at the size they are shown.
// Start-up checks every file first, decodes the icon and the start picture, shows the window,
// then decodes the twelve key pictures on worker threads; a key waits only for its own picture.
// The start picture and the key pictures go through the cache, decoded only when it has no
// entry for them.
class SkinPictures : public QObject
{
    Q_OBJECT

public:
    // folder: the program folder; shownSize: the backdrop's size in device-independent
    // pixels; devicePixelRatio: the screen's, so pictures are decoded for the real pixels.
    SkinPictures(QString folder, QSize shownSize, qreal devicePixelRatio, PictureCache cache,
                 QObject *parent = nullptr);
    ~SkinPictures() override;

    // Checks the icon, the start picture and the twelve key pictures named in settings (each a
    // regular file whose header reads as a picture of sane size; the icon an icon file), then
    // decodes the icon and the start picture. On failure: the error about the first file that
    // fails (or the key naming none), its message naming the file and what is wrong.
    std::optional<Error> loadStartPictures(const CalcSettings &settings);

    QIcon icon() const;
    QPixmap startPicture() const; // a null pixmap when the skin names no start picture

    // Begins decoding the twelve key pictures on worker threads.
    void startHolderDecoding();

    // The picture of a holder, waiting for that one decode if it is not ready yet. Nothing when
    // it failed to decode; failed() has then been emitted.
    std::optional<QPixmap> holder(face::Holder holder);

signals:
    // A key picture that passed the checks failed to decode later; emitted once.
    void failed(const Error &error);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
