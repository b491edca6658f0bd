#pragma once

#include "error.h"
#include "workcontrol.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

// The skins of one user, each a folder of the shelf the calculator runs from: calc.dat, the files
// it names and the two programs, hard links to the installed ones where the file system allows.
// The shelf is changed only by renaming a finished folder into it, so an interrupted import
// leaves nothing but a temporary folder that the next start removes.
class Shelf
{
public:
    // dataFolder holds the shelf (…/picturecalc); installedFolder holds the installed programs
    // calc and Skinwright, and the default skin.
    Shelf(const QString &dataFolder, const QString &installedFolder);

    // ${XDG_DATA_HOME:-~/.local/share}/picturecalc; a relative XDG_DATA_HOME is ignored.
    static std::variant<QString, Error> userDataFolder(const QProcessEnvironment &environment);

    // What every start does first: removes what interrupted runs left, turns the single skin
    // folder of earlier versions into the first skin, gives a user with no skin the default
    // one, and brings every skin's programs up to date.
    std::optional<Error> prepare() const;

    // A skin's name is its folder's, unique on the shelf; its title is what calc.dat calls it,
    // or the name when calc.dat gives none or cannot be read.
    struct Skin
    {
        QString name;
        QString title;
    };
    // The skins in the order of their titles: every folder of the shelf but new ones still
    // waiting for calc.dat.
    QList<Skin> skins() const;
    // Their names, in the same order.
    QStringList names() const;
    // The folder of the skin of that name.
    std::variant<QString, Error> folderOf(const QString &name) const;
    // The name of the skin a user means by text: the one skin of that title, else the skin of
    // that name. A title several skins share, and no skin's name, is refused naming their names.
    std::variant<QString, Error> find(const QString &text) const;

    // Adds the skin of an archive or folder and returns its name: its title made safe for a
    // folder (else the source's name without its extension), made unique with " (2)", " (3)",
    // …; a skin identical to one on the shelf is not added again, and that one's name is
    // returned. Both may run on a worker thread; stopped by control, they leave the shelf and
    // the file as they were.
    std::variant<QString, Error> importSkin(const QString &source,
                                            const WorkControl &control = {}) const;
    std::optional<Error> exportSkin(const QString &name, const QString &file,
                                    const WorkControl &control = {}) const;

    // Gives a skin a new title, written into its calc.dat, and renames its folder after it;
    // returns the new name. Both or neither: calc.dat is put back when the folder cannot be
    // renamed. A title another skin has, or that calc.dat cannot hold, is refused.
    std::variant<QString, Error> renameSkin(const QString &name, const QString &title) const;
    // Adds a copy of a skin titled as it is with 「のコピー」 added (" (2)" and on when that title
    // is taken), and returns its name. May run on a worker thread, as importSkin.
    std::variant<QString, Error> duplicateSkin(const QString &name,
                                               const WorkControl &control = {}) const;

    // A new skin: a folder of the shelf holding the two programs and nothing else, for Skinwright
    // to write calc.dat into. Returns the folder. It joins names() once calc.dat is there.
    std::variant<QString, Error> createSkin() const;
    // What settleNewSkins found: the folders of new skins still waiting for calc.dat, and the
    // names of those that have it now, each renamed after its title.
    struct NewSkins
    {
        QStringList waiting;
        QStringList written;
    };
    // Removes the new skins whose Skinwright ended without writing calc.dat, and makes those
    // with calc.dat skins like any other.
    NewSkins settleNewSkins() const;

    // Moves the skin's folder to the desktop's trash and returns where it lies there; refused
    // where the trash cannot take it, the skin left on the shelf.
    std::variant<QString, Error> trashSkin(const QString &name) const;
    // Brings a skin this shelf moved to the trash back under its name, made unique, and returns
    // the name it got.
    std::variant<QString, Error> restoreSkin(const QString &trashed, const QString &name) const;
    // Deletes the skin for good: gone from the shelf at once, whatever of it cannot be removed
    // now is removed by the next start.
    std::optional<Error> deleteSkin(const QString &name) const;

    // The skin run last, if it is still there; else the first one; empty on an empty shelf.
    QString lastSkin() const;
    std::optional<Error> rememberLastSkin(const QString &name) const;

    QString shelfFolder() const;
    QString dataFolder() const { return m_dataFolder; }

private:
    QStringList folders() const;
    // The name last-skin holds, whether or not that skin is there.
    QString rememberedSkin() const;
    std::optional<Error> adoptSingleSkin() const;
    // fallbackName names the skin when its calc.dat gives no title.
    std::variant<QString, Error> addSkin(const QString &source, const QString &fallbackName,
                                         const WorkControl &control = {}) const;
    std::variant<QString, Error> copySkin(const QString &name, const QString &title,
                                          const WorkControl &control) const;
    // Whether another skin than name has that title.
    bool titleTaken(const QString &title, const QString &name = {}) const;
    // Renames folder into the shelf under name, made unique; returns the name it got. A skin
    // of the shelf already so named stays as it is.
    std::variant<QString, Error> placeSkin(const QString &folder, const QString &name) const;
    std::optional<Error> updatePrograms(const QStringList &folders) const;

    QString m_dataFolder;
    QString m_installedFolder;
};
