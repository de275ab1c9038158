#pragma once

#include <QString>

#include "core/zr6200fp_cardModels.h"
#include "visa.h"

// What the common library knows of a function card: its model, its texts
// and the session operations of its instrument driver. Each instrument
// supplies one implementation.
class zr6200fp_genFC
{
public:
    virtual ~zr6200fp_genFC() = default;

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

    // The model number in hexadecimal digits, 0x7480 for the 7480.
    qint32 modelCode = 0;

    // The model text shown everywhere: modelCode in base 16, right-aligned
    // in 4 characters padded with blanks.
    QString modelText() const { return zr6200fp_cardModels::modelText(modelCode); }
};
