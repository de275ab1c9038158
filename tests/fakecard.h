#pragma once

#include <QList>
#include <QString>
#include <atomic>

#include "core/zr6200fp_genFC.h"

// A card object whose answers the test sets. isModelSupported may be called
// from the search's worker threads: it only reads and counts atomically.
class FakeCard final : public zr6200fp_genFC
{
public:
    explicit FakeCard(qint32 model = 0x7480, quint16 supported = 0x7480)
        : supportedCode(supported)
    {
        modelCode = model;
    }

    bool isModelSupported(quint16 code) const override
    {
        modelQueries.fetch_add(1);
        return code == supportedCode;
    }
    QString getDescription() const override { return QStringLiteral("Fake Test FC"); }
    QString getCopyright() const override { return QStringLiteral("Copyright test"); }
    QString getSfpRevision() const override { return QStringLiteral("1.2.3.4"); }
    QString getDriverRevision() const override { return QStringLiteral("5.6.7.8"); }
    QString getErrorMessage(ViStatus) const override { return errorText; }
    ViStatus init(const char *rsrcName, const quint16 *numbers, quint16, quint16, ViSession *vi) override
    {
        initNames << QString::fromLatin1(rsrcName);
        initNumbers << numbers[0];
        *vi = initSession;
        return initStatuses.isEmpty() ? 0 : initStatuses.takeFirst();
    }
    ViStatus initAndKeep(const char *rsrcName, const quint16 *numbers, qint16, quint16 idQuery, quint16 reset,
                         ViSession *vi) override
    {
        return init(rsrcName, numbers, idQuery, reset, vi);
    }
    ViStatus reinit(ViSession *) override { return 0; }
    ViStatus close(ViSession vi) override
    {
        closed << vi;
        return 0;
    }

    quint16 supportedCode;
    QString errorText;
    QList<ViStatus> initStatuses;
    ViSession initSession = 42;
    QStringList initNames;
    QList<quint16> initNumbers;
    QList<ViSession> closed;
    mutable std::atomic<int> modelQueries{0};
};
