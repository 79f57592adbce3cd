#pragma once

#include "FakeBusService.h"
#include "FakeScreenSaver.h"
#include "ScreenSaverPowerAssertion.h"

#include <memory>

namespace plimbo::test {

// The desktop's screen saver as a process that can crash and start again under the same name.
class RestartingScreenSaver {
public:
    // A first start takes a name of its own; a restart passes the name it had.
    bool start(const QString& serviceName = {}) {
        auto object = std::make_unique<FakeScreenSaver>();
        current = object.get();
        m_bus = std::make_unique<FakeBusService>(QStringLiteral("Restarting"), std::move(object),
                                                 serviceName);
        return m_bus->publish(QString::fromLatin1(ScreenSaverPowerAssertion::objectPath));
    }
    // Leaves the bus, and with it every inhibition it granted.
    void crash() {
        m_bus.reset();
        current = nullptr;
    }
    QString serviceName() const { return m_bus->serviceName(); }

    FakeScreenSaver* current = nullptr;

private:
    std::unique_ptr<FakeBusService> m_bus;
};

} // namespace plimbo::test
