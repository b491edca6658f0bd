// The floor a picture calculator's start-up is measured against: a bare Qt window of the
// calculator's size that shows one picture and one line of Japanese text in the captions' font.
#include <QApplication>
#include <QLabel>
#include <QPixmap>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QWidget window;
    window.setWindowTitle(QStringLiteral("電卓"));
    window.setFixedSize(162, 169);
    QLabel picture(&window);
    picture.setGeometry(0, 0, 161, 169);
    picture.setScaledContents(true);
    picture.setPixmap(QPixmap(QString::fromLocal8Bit(argv[1])));
    QLabel text(QStringLiteral("電卓 0."), &window);
    text.setGeometry(4, 4, 151, 21);
    text.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text.setAutoFillBackground(true);
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setBold(true);
    font.setPixelSize(16);
    text.setFont(font);
    window.show();
    return app.exec();
}
