#include "serial/ui/qt_notice_sink.h"

#include <utility>

#include "serial/comm.h"

namespace tc101 {

QtNoticeSink::QtNoticeSink(TComm& comm, QObject* parent) : QObject(parent), comm_(comm) {}

void QtNoticeSink::Post(CommNotice notice) noexcept {
    try {
        // A queued call to this object: Qt keeps posted events in order and
        // discards those of an object being destroyed.
        QMetaObject::invokeMethod(
            this, [this, queued = std::move(notice)]() mutable { comm_.Deliver(std::move(queued)); },
            Qt::QueuedConnection);
    } catch (...) {
        // Out of memory: the notice is lost, as a failed post would be.
    }
}

}  // namespace tc101
