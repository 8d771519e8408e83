#pragma once

#include "ErrorBoxWatcher.h"
#include "MediaFolder.h"

#include <QObject>

#include <memory>

// What every window test starts from: the generated media in a folder of its own,
// and a watcher that closes error boxes, so an unexpected box can never hang a run.
class WindowTestBase : public QObject {
protected:
    MediaFolder media;
    std::unique_ptr<ErrorBoxWatcher> boxes;

    void beginTest() {
        media.reset();
        boxes = std::make_unique<ErrorBoxWatcher>();
    }
    void endTest() { boxes.reset(); }
};
