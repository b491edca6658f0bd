// The fuzz targets' driver: a QCoreApplication finds the image plugins (a QGuiApplication on the
// offscreen platform where the target paints), and libarchive converts names in LC_CTYPE. Without
// libFuzzer it runs the target on its seeds, then on inputs made from them by changing, adding and
// dropping bytes, the same ones every run.
#include <QCoreApplication>
#include <QDir>
#ifdef FUZZ_PAINTS
#include <QGuiApplication>
#endif
#include <clocale>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
#ifdef FUZZ_PAINTS
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static const QGuiApplication app(*argc, *argv);
#else
    static const QCoreApplication app(*argc, *argv);
#endif
    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        qFatal("no UTF-8 locale");
    return 0;
}

#ifndef WITH_LIBFUZZER
int main(int argc, char *argv[])
{
    LLVMFuzzerInitialize(&argc, &argv);
    QList<QByteArray> corpus;
    for (const QFileInfo &seed : QDir(argc == 3 ? argv[1] : "").entryInfoList(QDir::Files))
        if (QFile file(seed.filePath()); file.open(QIODevice::ReadOnly))
            corpus << file.readAll();
    if (argc != 3 || corpus.isEmpty())
        qFatal("usage: %s SEED-FOLDER INPUTS-MADE-FROM-THEM", argv[0]);
    std::mt19937 random(20261207);
    for (long count = -corpus.size(); count < QByteArray(argv[2]).toLong(); ++count) {
        QByteArray input = corpus[count < 0 ? count + corpus.size() : random() % corpus.size()];
        for (int edits = count < 0 ? 0 : 1 + int(random() % 8); edits > 0; --edits) {
            const qsizetype at = input.isEmpty() ? 0 : qsizetype(random() % input.size());
            if (const unsigned edit = random() % 4; edit == 3)
                input.append(QByteArray(int(random() % 16), char(random())));
            else if (edit == 2)
                input.remove(at, 1);
            else if (edit == 1 || input.isEmpty())
                input.insert(at, char(random()));
            else
                input[at] = char(random());
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.constData()),
                               std::size_t(input.size()));
    }
    return 0;
}
#endif
