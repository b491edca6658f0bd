#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTranslator;

// A sentence of the programs' texts, kept untranslated with its arguments so that it can be
// shown in the language installed when it is shown, or in another. The source is the Japanese
// text itself, marked for the catalogue with QT_TRANSLATE_NOOP(context, source).
struct Sentence
{
    const char *context;
    const char *source;
    QStringList arguments = {};

    // The text with %1 … %9 replaced by the arguments in one pass, so that an argument holding
    // "%1" stays as it is; in language, or in the installed one when language is null.
    QString text(const QTranslator *language = nullptr) const;

    // The same source in the same context, with the same arguments.
    bool operator==(const Sentence &other) const;
};

// Why something could not be done: what kind of fault it is, the file, key or skin it is about,
// and the sentences that tell the user.
class Error
{
public:
    enum class Code
    {
        // A file the user or calc.dat names
        FileMissing,
        NameAmbiguous,   // no exact name, and several equal to it ignoring letter case
        NameOutsideSkin, // absolute, or leading out of the skin's folder
        IsFolder,
        NotRegularFile, // a FIFO, a device, a socket
        NoPermission,
        Unreadable,
        Unwritable,

        // calc.dat
        SettingsUnreadable, // at a line of it, or as a whole
        SettingsUnwritable,

        // Pictures and icons
        NoFileName, // calc.dat names no file for the key
        EmptyFile,
        NotPicture,
        UnusableFormat,
        PictureTooLarge,
        NotIcon,
        Truncated,
        BrokenPicture,

        // Archives and folders brought to the shelf
        NotSkinSource, // neither an archive nor a folder
        Corrupt,
        Link,
        SpecialFile,
        CaseTwins,
        Encrypted,
        TooManyEntries,
        FileTooLarge,
        SkinTooLarge,
        TwoSkins,
        EmptySkin,
        NoSettings, // no calc.dat

        // The shelf
        UnknownSkin,
        NotInTrash,
        SharedTitle,
        EmptyTitle,
        TitleTooLong,
        TitleNotInCodePage,
        TitleTaken,
        HomeNotSet,
        CannotStart,
        Stopped,        // work the user stopped: never shown, as the user knows
        CalculatorRuns, // the skin's calculator runs, or did not end when asked to

        // Sound
        NoMidi,
        MidiUnavailable,
    };

    Error(Code code, QString subject, QList<Sentence> sentences);

    Code code() const { return m_code; }
    // The file (as the user or calc.dat names it), the calc.dat key or the skin concerned.
    const QString &subject() const { return m_subject; }
    const QList<Sentence> &sentences() const { return m_sentences; }

    // The sentences in the installed language, one after the other.
    QString message() const;
    // The sentences that language holds, in it, separated by spaces; empty when it holds none.
    // The command line puts these after the message, in brackets.
    QString message(const QTranslator &language) const;

    // The same error told after other sentences: "cannot read x: " + what this says.
    Error after(Sentence first) const;

    bool operator==(const Error &) const = default;

private:
    Code m_code;
    QString m_subject;
    QList<Sentence> m_sentences;
};
