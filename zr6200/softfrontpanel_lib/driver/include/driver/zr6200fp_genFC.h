#pragma once

#include <QString>

#include "visa.h"

// What the common library knows of a function card: its model, its texts
// and the session operations of its instrument driver. Each instrument
// supplies one implementation.
class zr6200fp_genFC
{
public:
    virtual ~zr6200fp_genFC() = default;

    // The most function cards a panel takes in one session: the length of
    // every card-number array, and the cap on the cards a search offers.
    static constexpr int kMaxCards = 256;

    // Called from the search's worker threads: must only read constant data.
    virtual bool isModelSupported(quint16 modelCode) const = 0;
    virtual QString getDescription() const = 0;
    virtual QString getCopyright() const = 0;
    virtual QString getSfpRevision() const = 0;
    virtual QString getDriverRevision() const = 0;
    virtual QString getErrorMessage(ViStatus status) const = 0;
    virtual ViStatus init(const char *rsrcName, const quint16 *fcNumbers, quint16 idQuery, quint16 reset,
                          ViSession *vi) = 0;
    virtual ViStatus initAndKeep(const char *rsrcName, const quint16 *fcNumbers, qint16 count, quint16 idQuery,
                                 quint16 reset, ViSession *vi) = 0;
    virtual ViStatus reinit(ViSession *vi) = 0;
    virtual ViStatus close(ViSession vi) = 0;

    // The model number in hexadecimal digits, 0x7480 for the 7480; shown
    // through zr6200fp_cardModels::modelText.
    qint32 modelCode = 0;
};
