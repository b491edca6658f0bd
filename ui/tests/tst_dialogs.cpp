#include "dialogs.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::StringLiterals;

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    // The real box, read and closed from inside its own event loop. A title longer than the
    // question still fits in a bold title bar beside an icon and three buttons.
    void questionBox()
    {
        const QString title = u"電卓 ｳｨｻﾞｰﾄﾞ"_s.repeated(3);
        QStringList buttons;
        int width = 0;
        // Posted before the box opens, so it runs in the box's own loop, where it is shown.
        QTimer::singleShot(0, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible()) {
                    for (QAbstractButton *button : box->buttons())
                        buttons << button->text();
                    width = box->width();
                    box->reject();
                }
            }
        });
        QVERIFY(!dialogs::askYesNo(nullptr, {u"?"_s, title}));
        buttons.sort();
        QCOMPARE(buttons, (QStringList{u"いいえ"_s, u"はい"_s}));
        QFont bold = QApplication::font("QMdiSubWindowTitleBar");
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        QCOMPARE_GT(width, metrics.horizontalAdvance(title) + 4 * metrics.height());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
