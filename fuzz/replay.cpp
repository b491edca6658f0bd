// A fuzz target run without libFuzzer, as a test of the main build: first on every input of
// its seed corpus, then on inputs made from those by changing, adding and dropping bytes,
// from a fixed seed so that every run tries the same ones.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) __attribute__((weak));

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER MUTATED-INPUTS\n", argv[0]);
        return 2;
    }
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    QList<QByteArray> corpus;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            corpus << file.readAll();
    }
    if (corpus.isEmpty()) {
        std::fprintf(stderr, "no seed inputs in %s\n", argv[1]);
        return 2;
    }
    const auto run = [](const QByteArray &input) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.constData()),
                               std::size_t(input.size()));
    };
    for (const QByteArray &input : corpus)
        run(input);
    std::mt19937 random(20261207);
    for (long count = std::atol(argv[2]); count > 0; --count) {
        QByteArray input = corpus[qsizetype(random() % corpus.size())];
        for (int edits = 1 + int(random() % 8); edits > 0; --edits) {
            const qsizetype at = input.isEmpty() ? 0 : qsizetype(random() % input.size());
            switch (random() % 4) {
            case 0:
                if (!input.isEmpty())
                    input[at] = char(random());
                break;
            case 1:
                input.insert(at, char(random()));
                break;
            case 2:
                input.remove(at, 1);
                break;
            default:
                for (int more = int(random() % 16); more > 0; --more)
                    input.append(char(random()));
            }
        }
        run(input);
    }
    return 0;
}
