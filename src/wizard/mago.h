#pragma once

#include <QDialog>

namespace wizard {

// The dosage wizard: designs a mix step by step from the strength and conditions wanted. Loaded hidden at start-up.
class Mago : public QDialog
{
    Q_OBJECT
public:
    explicit Mago(QWidget* parent = nullptr);
};

} // namespace wizard
