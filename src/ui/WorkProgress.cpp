#include "ui/WorkProgress.h"

#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <exception>
#include <thread>

namespace WorkProgress {

namespace {

// What the worker and the window share.
struct Shared {
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> cancelled{false}; // the user asked to stop
    std::atomic<bool> told{false};      // the work was told so, and stopped
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
};

} // namespace

bool run(QWidget* owner, const QString& title, const QString& what, const Work& work) {
    Shared shared;
    QEventLoop loop;
    std::thread worker([&shared, &work, &loop] {
        try {
            work([&shared](int done, int total) {
                shared.done = done;
                shared.total = total;
                if (shared.cancelled)
                    shared.told = true;
                return !shared.told.load();
            });
        } catch (...) {
            shared.failure = std::current_exception();
        }
        shared.finished = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });

    QDialog window(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    window.setObjectName(QStringLiteral("frmAvanzamento"));
    window.setWindowTitle(title);
    window.setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(&window);
    auto* line = new QLabel(what, &window);
    line->setObjectName(QStringLiteral("lblAvanzamento"));
    auto* bar = new QProgressBar(&window);
    bar->setObjectName(QStringLiteral("prgAvanzamento"));
    bar->setMinimumWidth(420);
    bar->setRange(0, 0);
    auto* cancel = new QPushButton(QStringLiteral("Annulla"), &window);
    cancel->setObjectName(QStringLiteral("btnAnnulla"));
    layout->addWidget(line);
    layout->addWidget(bar);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    QObject::connect(cancel, &QPushButton::clicked, &window, [&shared, cancel, line] {
        shared.cancelled = true;
        cancel->setEnabled(false);
        line->setText(QStringLiteral("Annullamento in corso..."));
    });
    // Escape and the window's close button cancel too, and the window stays until the work stops.
    QObject::connect(&window, &QDialog::rejected, &window, [&shared, cancel] {
        shared.cancelled = true;
        cancel->setEnabled(false);
    });

    QTimer update;
    QObject::connect(&update, &QTimer::timeout, &window, [&] {
        const int total = shared.total;
        if (total > 0) {
            bar->setRange(0, total);
            bar->setValue(shared.done);
        }
        if (!window.isVisible() && !shared.finished)
            window.show();
    });
    QTimer::singleShot(kShowAfterMs, &window, [&update] { update.start(50); });
    if (!shared.finished)
        loop.exec();
    worker.join();
    update.stop();
    window.hide();
    if (shared.failure)
        std::rethrow_exception(shared.failure);
    // A cancel that came after the work's last report changed nothing: the work ran to its end.
    return !shared.told;
}

} // namespace WorkProgress
