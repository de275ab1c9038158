// Races ThreadSanitizer must report through the project's suppressions,
// made as the resource search makes its threads: two workers on a Qt thread
// pool writing one variable ("workers"), or a worker and the thread that
// runs the event loop ("loop"). A suppression that hides either would hide
// races in the code the project maps over threads.
#include <QCoreApplication>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

int shared = 0;
// Relaxed: it holds the racing threads together without ordering them.
std::atomic<int> arrived{0};

void meetThenWrite()
{
    arrived.fetch_add(1, std::memory_order_relaxed);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (arrived.load(std::memory_order_relaxed) < 2 && std::chrono::steady_clock::now() < until)
        std::this_thread::yield();
    ++shared;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool loop = argc > 1 && std::strcmp(argv[1], "loop") == 0;
    QThreadPool pool;
    pool.setMaxThreadCount(2);
    std::vector<int> workers(loop ? 1 : 2);
    // Called from the event loop, as the panel's code is.
    QTimer::singleShot(0, &app, [&] {
        QFuture<void> done = QtConcurrent::map(&pool, workers, [](int &) { meetThenWrite(); });
        if (loop)
            meetThenWrite();
        done.waitForFinished();
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
