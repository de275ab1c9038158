#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QProgressDialog>

// The "Searching..." box shown while the network resources are queried. It
// has no cancel button and cannot be closed: the search cannot be stopped,
// so the box stays, and keeps showing the progress, until it ends.
class zr6200fp_searchProgress final : public QProgressDialog
{
    Q_OBJECT
public:
    zr6200fp_searchProgress(const QString &title, const QFuture<void> &queries, QWidget *parent);

public slots:
    // Escape ends here.
    void reject() override;

protected:
    // So does the window's close control.
    void closeEvent(QCloseEvent *event) override;

private:
    QFutureWatcher<void> watcher;
};
