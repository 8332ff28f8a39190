#include "bench/OneRunFigures.h"
#include "playlist/ListFile.h"
#include "playlist/SortedListBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QListWidget>
#include <QStringConverter>
#include <QTemporaryDir>
#include <QTextStream>
#include <stdexcept>

// "保存" and "読込" from the list box's side: a full list written from the
// box to a list file, and a list file read into the box and shown, each
// beside the same work through a plain sorted QListWidget and QTextStream,
// in the same run.
namespace {

// 32767 paths of 50 to 70 bytes, every fourth one Japanese, in no order.
QStringList entries() {
    QStringList list;
    for (int i = 0; i < ListFile::MaxEntries; ++i) {
        const int shuffled = static_cast<int>((i * 7919LL) % ListFile::MaxEntries);
        list.append(
            i % 4 == 0
                ? QStringLiteral("/home/user/ミュージック/ゲーム音楽/ステージ%1.mid").arg(shuffled)
                : QStringLiteral("/home/user/Music/MIDI collection/song number %1.mid")
                      .arg(shuffled));
    }
    return list;
}

QString listPath() {
    static QTemporaryDir dir;
    return dir.filePath("bench.lst");
}

// A box of each kind holding the full list, shown as in the window.
struct Boxes {
    Boxes() {
        ours.resize(313, 124);
        widget.resize(313, 124);
        widget.setSortingEnabled(true);
        ours.addAll(entries());
        widget.addItems(entries());
        ours.show();
        widget.show();
        QCoreApplication::processEvents();
    }
    SortedListBox ours;
    QListWidget widget;
};

void saveFromWidget(const QListWidget& widget) {
    QFile file(listPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("list file bench: cannot write");
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    for (int row = 0; row < widget.count(); ++row)
        out << '"' << widget.item(row)->text() << "\"\r\n";
}

void loadIntoWidget(QListWidget& widget) {
    QFile file(listPath());
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("list file bench: cannot read");
    QTextStream in(&file);
    in.setEncoding(QStringConverter::System);
    QStringList read;
    for (QString line; in.readLineInto(&line);)
        read.append(line.mid(1, line.size() - 2));
    widget.clear();
    widget.addItems(read);
    QCoreApplication::processEvents();
}

// Milliseconds: ours, the widget's, and how many times ours is faster.
std::vector<double> compare(double ours, double widget) {
    return {ours * 1000, widget * 1000, widget / ours};
}

std::vector<double> save() {
    Boxes boxes;
    const double ours = Bench::seconds([&] { ListFile::save(listPath(), boxes.ours.entries()); });
    const double widget = Bench::seconds([&] { saveFromWidget(boxes.widget); });
    return compare(ours, widget);
}

std::vector<double> load() {
    Boxes boxes;
    ListFile::save(listPath(), entries());
    const double ours = Bench::seconds([&] {
        const QStringList read = ListFile::load(listPath());
        boxes.ours.clear();
        boxes.ours.addAll(read);
        QCoreApplication::processEvents();
    });
    const double widget = Bench::seconds([&] { loadIntoWidget(boxes.widget); });
    if (boxes.ours.count() != ListFile::MaxEntries || boxes.widget.count() != ListFile::MaxEntries)
        throw std::runtime_error("list file bench: entries lost");
    return compare(ours, widget);
}

const bool registered = [] {
    Bench::addFromOneRun("playlist",
                         {{"save 32767 from the box: ours, atomic, checked", "ms"},
                          {"save 32767 from the box: QListWidget, QTextStream", "ms"},
                          {"save 32767 from the box: QListWidget / ours", "x"}},
                         save);
    Bench::addFromOneRun("playlist",
                         {{"load 32767 into the box, shown: ours", "ms"},
                          {"load 32767 into the box, shown: QListWidget, QTextStream", "ms"},
                          {"load 32767 into the box, shown: QListWidget / ours", "x"}},
                         load);
    return true;
}();

} // namespace
