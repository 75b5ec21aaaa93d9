#pragma once

#include <QDialog>

namespace app {

// The about box: title, version, description and company name.
class Sobre : public QDialog
{
    Q_OBJECT
public:
    explicit Sobre(const QString& empresa, QWidget* parent = nullptr);
};

} // namespace app
