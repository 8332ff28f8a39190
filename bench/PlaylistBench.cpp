#include "bench/Bench.h"
#include "playlist/SortedList.h"
#include "playlist/SortedListBox.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>
#include <memory>
#include <random>
#include <vector>

// The playlist with the largest list it can hold: our sorted model behind a
// QListView against a plain QListWidget that sorts itself, doing the same work.
namespace {

constexpr int Full = SortedList::MaxEntries;
constexpr int Repeats = 200;
// A sorted QListWidget re-sorts the whole list on every add: a few are enough.
constexpr int WidgetAdds = 5;

QStringList paths(int count, unsigned seed) {
    std::mt19937 random(seed);
    static const QStringList folders{"Music", "midi", "Games/OST", "ダウンロード", "Classic"};
    QStringList result;
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result << QStringLiteral("/home/user/%1/%2 Track %3.mid")
                      .arg(folders[random() % folders.size()])
                      .arg(random() % 100000, 5, 10, QLatin1Char('0'))
                      .arg(random() % 1000);
    return result;
}

const QStringList& fullList() {
    static const QStringList list = paths(Full, 1);
    return list;
}

const QStringList& arrivals() {
    static const QStringList list = paths(Repeats, 2);
    return list;
}

// Lets the view lay out and repaint, as it would before the user sees it.
void settle() {
    QCoreApplication::processEvents();
}

// The time of `add`, per entry, in microseconds; `undo` (not timed) takes the
// entry out again so that every add meets a list of Full - 1.
template <class Add, class Undo> double perAdd(int count, Add add, Undo undo) {
    double total = 0;
    for (const QString& entry : arrivals().mid(0, count)) {
        total += Bench::seconds([&] {
            add(entry);
            settle();
        });
        undo(entry);
    }
    return total / count * 1e6;
}

std::unique_ptr<SortedListBox> openOurs(int entries) {
    auto box = std::make_unique<SortedListBox>();
    box->resize(313, 124);
    box->addAll(fullList().mid(0, entries));
    box->show();
    settle();
    return box;
}

std::unique_ptr<QListWidget> openWidget(int entries) {
    auto widget = std::make_unique<QListWidget>();
    widget->resize(313, 124);
    widget->setSortingEnabled(true);
    widget->addItems(fullList().mid(0, entries));
    widget->show();
    settle();
    return widget;
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0 : samples[samples.size() / 2];
}

// The samples of one comparison, kept so that its ratio can be printed after it.
struct Comparison {
    std::vector<double> ours, widget;
    double ratio() const { return median(widget) / median(ours); }
};

// Each add is followed by the view's layout and repaint, as the user sees it.
double addToOurs() {
    const auto box = openOurs(Full - 1);
    return perAdd(
        Repeats, [&](const QString& entry) { box->add(entry); },
        [&](const QString& entry) {
            box->removeAt(static_cast<int>(box->entries().indexOf(entry)));
        });
}

double addToWidget() {
    const auto widget = openWidget(Full - 1);
    return perAdd(
        WidgetAdds, [&](const QString& entry) { widget->addItem(entry); },
        [&](const QString& entry) {
            delete widget->takeItem(widget->row(widget->findItems(entry, Qt::MatchExactly)[0]));
        });
}

// The sorted list's own share of an add: the binary search and the insert.
double addToListAlone() {
    SortedList list;
    list.addAll(fullList().mid(0, Full - 1));
    double total = 0;
    for (const QString& entry : arrivals()) {
        int index = 0;
        total += Bench::seconds([&] { index = list.add(entry); });
        list.removeAt(index);
    }
    return total / Repeats * 1e6;
}

double openOursMs() {
    return Bench::seconds([] { openOurs(Full); }) * 1e3;
}

double openWidgetMs() {
    return Bench::seconds([] { openWidget(Full); }) * 1e3;
}

// Milliseconds per page scrolled, from the top of a full list.
template <class View> double scrollPages(View& view) {
    constexpr int pages = 100;
    return Bench::seconds([&] {
               for (int i = 0; i < pages; ++i) {
                   view.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
                   settle();
               }
           }) /
           pages * 1e3;
}

// Microseconds to select an entry far away and bring it into view.
template <class View, class Select> double selectRows(View& view, Select select) {
    std::mt19937 random(3);
    return Bench::seconds([&] {
               for (int i = 0; i < Repeats; ++i) {
                   select(view, static_cast<int>(random() % Full));
                   settle();
               }
           }) /
           Repeats * 1e6;
}

double fillOurs() {
    const auto box = openOurs(0);
    return Bench::seconds([&] {
               box->clear();
               box->addAll(fullList());
               settle();
           }) *
           1e3;
}

Comparison adding, opening, scrolling, selecting;

template <class Sample> std::function<double()> recorded(std::vector<double>& into, Sample sample) {
    return [&into, sample] {
        into.push_back(sample());
        return into.back();
    };
}

void addComparison(const std::string& what, const std::string& unit, Comparison& comparison,
                   std::function<double()> ours, std::function<double()> widget) {
    Bench::add({"playlist", what + ": QListView, our model", unit,
                recorded(comparison.ours, std::move(ours))});
    Bench::add({"playlist", what + ": sorted QListWidget", unit,
                recorded(comparison.widget, std::move(widget))});
    Bench::add({"playlist", what + ": QListWidget / ours", "x",
                [&comparison] { return comparison.ratio(); }});
}

const bool registered = [] {
    addComparison("add to 32766, shown", "us", adding, addToOurs, addToWidget);
    Bench::add({"playlist", "add to 32766: the sorted list alone", "us", addToListAlone});
    addComparison("open 32767 entries", "ms", opening, openOursMs, openWidgetMs);
    addComparison(
        "scroll a page in 32767", "ms", scrolling, [] { return scrollPages(*openOurs(Full)); },
        [] { return scrollPages(*openWidget(Full)); });
    addComparison(
        "select and show one of 32767", "us", selecting,
        [] {
            return selectRows(*openOurs(Full),
                              [](SortedListBox& box, int row) { box.select(row); });
        },
        [] {
            return selectRows(*openWidget(Full), [](QListWidget& widget, int row) {
                widget.setCurrentRow(row);
                widget.scrollToItem(widget.currentItem());
            });
        });
    Bench::add({"playlist", "load's bulk fill of 32767, shown", "ms", fillOurs});
    return true;
}();

} // namespace
