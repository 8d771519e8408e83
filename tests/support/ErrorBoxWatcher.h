#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <functional>

// Closes every error box the program opens, as a user would press OK, and keeps
// what each one said. `onBox` runs while the box is still open.
class ErrorBoxWatcher : public QObject {
public:
    struct Box {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        int buttons;
    };

    explicit ErrorBoxWatcher(std::function<void(const Box &)> onBox = {})
        : m_onBox(std::move(onBox)) {
        m_timer.setInterval(20);
        connect(&m_timer, &QTimer::timeout, this, &ErrorBoxWatcher::poll);
        m_timer.start();
    }

    void setOnBox(std::function<void(const Box &)> onBox) { m_onBox = std::move(onBox); }

    QList<Box> boxes;
    QStringList texts() const {
        QStringList out;
        for (const Box &b : boxes)
            out << b.text;
        return out;
    }

private:
    void poll() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("seenByWatcher").toBool())
            return;
        box->setProperty("seenByWatcher", true);
        Box b{box->windowTitle(), box->text(), box->icon(), int(box->buttons().size())};
        boxes << b;
        if (m_onBox)
            m_onBox(b);
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    }

    std::function<void(const Box &)> m_onBox;
    QTimer m_timer;
};
