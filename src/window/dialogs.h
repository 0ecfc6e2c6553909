#pragma once

#include <QString>

struct Report;
class QFileDialog;
class QWidget;

// Everything modal the window shows goes through here, so that tests can
// record it instead of blocking.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A modal box with one OK button; returns once it is dismissed. The
    // reason, when there is one, stands under the text.
    virtual void showMessage(const Report &report) = 0;
    // Runs the prepared file dialog modally: the chosen path, or empty when cancelled.
    virtual QString runFileDialog(QFileDialog &dialog) = 0;
};

class QtDialogs : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent) : m_parent(parent) {}
    void showMessage(const Report &report) override;
    QString runFileDialog(QFileDialog &dialog) override;

private:
    QWidget *m_parent;
};
