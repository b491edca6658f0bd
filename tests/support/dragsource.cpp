// A window that starts dragging one file the moment it is pressed, as a file manager does, so
// that end-to-end tests can drop files on the programs through the X server. It prints
// "accepted" once the window under the pointer says it would take the drop: the moment to let go.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <cstdio>

class DragSource : public QWidget
{
public:
    explicit DragSource(const QString &path) : m_url(QUrl::fromLocalFile(path)) {}

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *data = new QMimeData;
        data->setUrls({m_url});
        auto *drag = new QDrag(this);
        drag->setMimeData(data);
        connect(drag, &QDrag::actionChanged, this, [](Qt::DropAction action) {
            if (action != Qt::IgnoreAction) {
                std::puts("accepted");
                std::fflush(stdout);
            }
        });
        drag->exec(Qt::CopyAction);
    }

private:
    QUrl m_url;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.resize(100, 100);
    source.show();
    return app.exec();
}
