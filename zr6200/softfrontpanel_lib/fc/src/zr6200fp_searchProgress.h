#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QProgressDialog>

// The "Searching..." box shown while the network resources are queried and
// the found list is put into the tree. It has no cancel button and cannot
// be closed: the search cannot be stopped, so the box stays, and keeps
// showing the progress, until its owner resets it.
class zr6200fp_searchProgress final : public QProgressDialog
{
    Q_OBJECT
public:
    zr6200fp_searchProgress(const QString &title, const QFuture<void> &search, QWidget *parent);

signals:
    // The search has ended; the box stays until reset().
    void searched();

public slots:
    // Escape ends here.
    void reject() override;

protected:
    // So does the window's close control.
    void closeEvent(QCloseEvent *event) override;

private:
    QFutureWatcher<void> watcher;
};
