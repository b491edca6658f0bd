// picturecalc-thumbnailer SIZE SKIN PNG: the calculator's face on a .calcskin, scaled to fit SIZE
// pixels, for file managers. They run it by themselves on every file a user downloads, so it
// trusts nothing: the archive is read with every check of an import, the skin with every check
// of a start, in a child process whose memory is capped and which is killed when it takes too
// long. The PNG appears at its path whole, or nothing does.
#include "error.h"
#include "pluginpaths.h"
#include "programtexts.h"
#include "skinarchive.h"
#include "skinthumbnail.h"
#include "standardoptions.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <langinfo.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int LargestSize = 1024; // file managers ask for 128 to 1024
// The painter's own work is capped in processor time, so that a busy machine does not cut it
// short; the clock catches a painter that hangs without working.
constexpr rlim_t ProcessorSeconds = 10;
constexpr unsigned ClockSeconds = 30;
// Nearly twice what the largest picture a skin may hold needs (a 5600×5600 PNG: under 300 MB).
constexpr rlim_t AddressSpaceLimit = rlim_t(512) << 20;

volatile pid_t painter = 0;

void refuse(const QString &why)
{
    std::fputs(qPrintable(QStringLiteral("picturecalc-thumbnailer: ") + why + u'\n'), stderr);
}

void refuse(const Error &error)
{
    refuse(commandLineText(error));
}

Error noTemporaryFolder()
{
    return Error(Error::Code::Unwritable, QDir::tempPath(),
                 {{"Thumbnailer", QT_TRANSLATE_NOOP("Thumbnailer", "一時フォルダを作れません。")}});
}

Error cannotWrite(const QString &file)
{
    return Error(
        Error::Code::Unwritable, file,
        {{"Thumbnailer", QT_TRANSLATE_NOOP("Thumbnailer", "「%1」を書き込めません。"), {file}}});
}

// The painter outgrew the time or the memory it is given: pictures too large, or a broken one.
Error tooCostly(const QString &archive)
{
    return Error(Error::Code::PictureTooLarge, archive,
                 {{"Thumbnailer",
                   QT_TRANSLATE_NOOP("Thumbnailer", "「%1」の縮小画像を作れません。"),
                   {archive}}});
}

// The painter dies with the thumbnailer, and cannot outgrow its time and memory; stopped for
// that, it leaves no core file in the file manager's folder.
void capPainter()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const rlimit processor{ProcessorSeconds, ProcessorSeconds};
    setrlimit(RLIMIT_CPU, &processor);
    // AddressSanitizer reserves terabytes of address space for its shadow memory.
#if defined(__SANITIZE_ADDRESS__)
    return;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return;
#endif
#endif
    const rlimit memory{AddressSpaceLimit, AddressSpaceLimit};
    setrlimit(RLIMIT_AS, &memory);
}

// In the child: unpacks the archive into work, paints and writes the PNG to partial.
int paint(char *argv[], const QString &archive, int size, const QString &work,
          const QString &partial)
{
    capPainter();
    // No display is needed to paint text, and the file manager may have none to give; what
    // the toolkit keeps at run time stays in the work folder too.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString runtime = work + QStringLiteral("/runtime");
    const QString skin = work + QStringLiteral("/skin");
    if (!QDir().mkdir(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ||
        !QDir().mkdir(skin)) {
        refuse(noTemporaryFolder());
        return 1;
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    // Standard error carries one line, ours: the image readers' complaints about a broken file
    // say nothing a file manager's log needs.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // The toolkit sees no argument: a file named like one of its options stays a file name.
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);
    // Archive names that libarchive converts come in the character set of LC_CTYPE.
    if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
        std::setlocale(LC_CTYPE, "C.UTF-8");
    if (const auto error = unpackSkin(archive, skin)) {
        refuse(*error);
        return 1;
    }
    const auto thumbnail = skinThumbnail(skin, size);
    if (const Error *error = std::get_if<Error>(&thumbnail)) {
        refuse(
            error->after({"Thumbnailer", QT_TRANSLATE_NOOP("Thumbnailer", "「%1」: "), {archive}}));
        return 1;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QFile file(partial);
    if (!std::get<QImage>(thumbnail).save(&buffer, "PNG") ||
        !file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(png) != png.size() ||
        !file.flush()) {
        refuse(cannotWrite(partial));
        return 1;
    }
    return 0;
}

void stopPainter(int)
{
    if (painter > 0)
        kill(painter, SIGKILL);
}

} // namespace

int main(int argc, char *argv[])
{
    keepPluginsOutOfTheProgramFolder();
    answerStandardOptions(
        argc, argv,
        QCoreApplication::translate("Thumbnailer",
                                    "スキンの電卓の姿を縮小画像にします。ファイルマネージャーが "
                                    ".calcskin の縮小画像を作るときに使います。"),
        {},
        {{QStringLiteral("SIZE"),
          QCoreApplication::translate("Thumbnailer", "縮小画像の幅と高さの大きい方 (1～1024 "
                                                     "ピクセル)。")},
         {QStringLiteral("SKIN"),
          QCoreApplication::translate("Thumbnailer", ".calcskin のファイル。")},
         {QStringLiteral("PNG"),
          QCoreApplication::translate("Thumbnailer", "書き出す PNG のファイル。")}});
    const int size = argc == 4 ? QByteArray(argv[1]).toInt() : 0;
    if (size <= 0 || size > LargestSize) {
        std::fputs(qPrintable(QCoreApplication::translate(
                       "Thumbnailer",
                       "使い方: picturecalc-thumbnailer SIZE SKIN PNG (SIZE は 1～1024)\n")),
                   stderr);
        return 1;
    }
    const QString archive = QFile::decodeName(argv[2]);
    const QString output = QFile::decodeName(argv[3]);
    const QString partial = output + QStringLiteral(".%1.part").arg(getpid());
    QByteArray work = QFile::encodeName(QDir::tempPath()) + "/picturecalc-thumbnailer-XXXXXX";
    if (!mkdtemp(work.data())) {
        refuse(noTemporaryFolder());
        return 1;
    }

    const pid_t child = fork();
    if (child == 0)
        std::exit(paint(argv, archive, size, QFile::decodeName(work), partial));
    painter = child;
    struct sigaction onAlarm = {};
    onAlarm.sa_handler = stopPainter;
    sigaction(SIGALRM, &onAlarm, nullptr);
    if (child > 0)
        alarm(ClockSeconds);
    int status = 0;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    alarm(0);
    QDir(QFile::decodeName(work)).removeRecursively();

    if (child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        if (std::rename(QFile::encodeName(partial), QFile::encodeName(output)) == 0)
            return 0;
        refuse(cannotWrite(output));
    } else if (child < 0 || !WIFEXITED(status)) {
        refuse(tooCostly(archive));
    }
    QFile::remove(partial);
    return 1;
}
