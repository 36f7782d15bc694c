// The yardstick for start-up time: the least a Qt Widgets program does to put
// a window with a few controls on screen. Quits after its first paint, as
// fennick does when FENNICK_BENCH_QUIT_WHEN_SHOWN is set.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
class QuitOnPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("Now CheckOut...")));
    layout->addWidget(new QPushButton(QStringLiteral("Check In")));
    window.setCentralWidget(central);
    QuitOnPaint filter;
    window.installEventFilter(&filter);
    window.show();
    return QApplication::exec();
}
