#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Messages for failures the user must hear about but that end nothing (a
// full list, a list file that could not be saved). One at a time: what is
// to be said while one is shown, or while a Gathering lives, is said
// together in the next one.
class UserMessages {
public:
    // Puts one message on screen and returns once the user has closed it.
    using Display = std::function<void(const QString& text)>;
    // Makes one message of several: the texts (the first of them, when there
    // were very many) and how many more there were.
    using Combiner = std::function<QString(const QStringList& texts, qsizetype more)>;

    // More waiting texts than this are only counted: a message must fit the screen.
    static constexpr qsizetype keptTexts = 100;

    UserMessages(Display display, Combiner combine);
    UserMessages(const UserMessages&) = delete;
    UserMessages& operator=(const UserMessages&) = delete;

    void show(const QString& text);

    // While one lives, messages wait; the last one's end shows them as one.
    class Gathering {
    public:
        explicit Gathering(UserMessages& messages);
        ~Gathering();
        Gathering(const Gathering&) = delete;
        Gathering& operator=(const Gathering&) = delete;

    private:
        UserMessages& messages_;
    };

private:
    void showWaiting();

    const Display display_;
    const Combiner combine_;
    QStringList waiting_;
    qsizetype notKept_ = 0;
    int gatherings_ = 0;
    bool showing_ = false;
};
