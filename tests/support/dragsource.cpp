// A file manager's drag: "dragsource FILE" drags FILE when pressed and prints "accepted" once
// the window under the pointer would take it.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QPushButton grip;
    grip.setGeometry(900, 650, 100, 100);
    QObject::connect(&grip, &QPushButton::pressed, [&grip, argv] {
        auto *data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]))});
        auto *drag = new QDrag(&grip);
        drag->setMimeData(data);
        QObject::connect(drag, &QDrag::actionChanged, [](Qt::DropAction action) {
            if (action != Qt::IgnoreAction)
                std::puts("accepted");
        });
        drag->exec(Qt::CopyAction);
    });
    grip.show();
    return app.exec();
}
