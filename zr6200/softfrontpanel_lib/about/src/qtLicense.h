#pragma once

#include <QDialog>

// Modal viewer of the Qt licence text held in the resources.
class qtLicense : public QDialog
{
    Q_OBJECT
public:
    explicit qtLicense(QWidget *parent);
};
