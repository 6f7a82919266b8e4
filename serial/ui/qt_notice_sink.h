#pragma once

// Carries the serial threads' notices to the GUI thread. Post runs on the
// worker threads and only queues an event; the event loop then hands each
// notice to TComm::Deliver, in the order the notices were posted, so every
// event of the component runs on the GUI thread.

#include <QObject>

#include "serial/comm_notice.h"

namespace tc101 {

class TComm;

class QtNoticeSink : public QObject, public CommNoticeSink {
    Q_OBJECT
public:
    // The component may still be under construction: the sink only keeps the
    // reference. Notices still queued when the sink is destroyed are dropped,
    // so destroy the sink together with the component (the component first:
    // its destructor joins the threads that post here).
    explicit QtNoticeSink(TComm& comm, QObject* parent = nullptr);

    void Post(CommNotice notice) noexcept override;

private:
    TComm& comm_;
};

}  // namespace tc101
