// What Pelora's start-up and memory are measured against: Qt alone showing
// two plain black windows of the same client sizes as Pelora's two.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget player;
    QWidget playlist;
    player.setGeometry(92, 86, 136, 169);
    playlist.setGeometry(233, 87, 313, 168);
    for (QWidget* window : {&player, &playlist}) {
        QPalette black = window->palette();
        black.setColor(QPalette::Window, Qt::black);
        window->setPalette(black);
        window->setAutoFillBackground(true);
        window->show();
    }
    return QApplication::exec();
}
