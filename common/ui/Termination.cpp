#include "Termination.h"

#include <QCoreApplication>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

int wakeSockets[2] = {-1, -1};
volatile std::sig_atomic_t signalled = 0;

std::vector<std::pair<QPointer<QObject>, std::function<void()>>>& lastThings()
{
    static std::vector<std::pair<QPointer<QObject>, std::function<void()>>> things;
    return things;
}

// In the signal handler only async-signal-safe calls: one byte to the window's thread. A window
// thread that does not come back to its loop (hung, or busy for long) never does the last things:
// a second signal ends the program at once, as any signal did before there were last things.
void onSignal(int signal)
{
    if (signalled) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    signalled = 1;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(wakeSockets[1], &byte, 1);
}

void endNow(int signal)
{
    for (auto& [owner, last] : lastThings())
        if (owner)
            last();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void EndProgramOnTerminationSignals()
{
    if (wakeSockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(wakeSockets[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        unsigned char signal = 0;
        if (::read(wakeSockets[0], &signal, 1) == 1)
            endNow(signal);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

void BeforeTermination(QObject* owner, std::function<void()> last)
{
    auto& things = lastThings();
    std::erase_if(things, [](const auto& thing) { return thing.first.isNull(); });
    things.emplace_back(owner, std::move(last));
}
