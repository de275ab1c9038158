#pragma once

#include <QWidget>

// Places w at the centre of the first screen's available area; the result
// is taken as screen coordinates, not offset by the area's own corner.
void centerWidget(QWidget *w);
