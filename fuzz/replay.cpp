// A fuzz target run without libFuzzer, as a test of the main build: on every input of its seed
// corpus, then on inputs made from those by changing, adding and dropping bytes, from a fixed
// seed so that every run tries the same ones.
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <random>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) __attribute__((weak));

int main(int argc, char *argv[])
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    const QDir folder(argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString());
    QList<QByteArray> corpus;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
        QFile file(folder.filePath(name));
        corpus << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    if (argc != 3 || corpus.isEmpty()) {
        std::fprintf(stderr, "usage: %s SEED-FOLDER INPUTS-MADE-FROM-THEM\n", argv[0]);
        return 2;
    }
    std::mt19937 random(20261207);
    for (long count = -corpus.size(); count < std::atol(argv[2]); ++count) {
        QByteArray input = corpus[count < 0 ? count + corpus.size() : random() % corpus.size()];
        for (int edits = count < 0 ? 0 : 1 + int(random() % 8); edits > 0; --edits) {
            const qsizetype at = input.isEmpty() ? 0 : qsizetype(random() % input.size());
            const unsigned edit = random() % 4;
            if (edit == 0 && !input.isEmpty())
                input[at] = char(random());
            else if (edit == 1)
                input.insert(at, char(random()));
            else if (edit == 2)
                input.remove(at, 1);
            else if (edit == 3)
                input.append(QByteArray(int(random() % 16), char(random())));
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(input.constData()),
                               std::size_t(input.size()));
    }
    return 0;
}
