#pragma once

#include "shell/companion_link.h"

#include <QMutex>
#include <QStringList>
#include <QThread>

namespace qb::test {

// Stands in for the companion program Tonewell: listens under the companion's name on
// a thread of its own (the editor waits for its acknowledgement) and records what it
// receives.
class CompanionStandIn : public QThread {
public:
    CompanionStandIn() {
        start();
        while (!ready_) {
            QThread::msleep(5);
        }
    }
    ~CompanionStandIn() override {
        quit();
        wait();
    }
    QStringList received() const {
        const QMutexLocker lock(&mutex_);
        return received_;
    }

protected:
    void run() override {
        LinkServer server(linkName(kCompanionTopic));
        QObject::connect(&server, &LinkServer::commandReceived, [this](const QString& command) {
            const QMutexLocker lock(&mutex_);
            received_ << command;
        });
        ready_ = true;
        exec();
    }

private:
    mutable QMutex mutex_;
    QStringList received_;
    std::atomic<bool> ready_ = false;
};

} // namespace qb::test
