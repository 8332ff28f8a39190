#pragma once

#include <QWidget>

// A top-level window of the program. The window is built with its stored
// design in the constructor; Form_Load and Form_Unload are run by its
// FormInstance when it is loaded and unloaded.
class FormBase : public QWidget {
    Q_OBJECT
public:
    explicit FormBase(QWidget* parent = nullptr);

    virtual void Form_Load() {}
    virtual void Form_Unload() {}

    // The window's caption. An empty one stays empty on screen too.
    void setCaption(const QString& caption);

    // Sets the client area to a rectangle given in twips (15 twips to a pixel).
    void setClientTwips(int left, int top, int width, int height);

signals:
    // The user (or the system) closed the window; Form_Unload has run.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// Twips as stored in a window's design, to device-independent pixels.
constexpr int twips(int value) {
    return value / 15;
}
