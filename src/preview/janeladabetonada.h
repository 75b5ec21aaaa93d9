#pragma once

#include "calc/calcstate.h"

#include <QDialog>
#include <QString>
#include <QVariantMap>

class QCheckBox;
class QLineEdit;

namespace platform {
class Database;
}

namespace printing {
class Documento;
}

namespace preview {

class PreviaTraco;

// The batch of a mix for the mixer: the mixer's capacity, the volume to pour and whether half bags are used, with
// the batching sheet in the sheet's preview, which "Calcular" composes again.
class JanelaDaBetonada : public QDialog
{
    Q_OBJECT
public:
    JanelaDaBetonada(const calc::CalcState& traco, double pesoSaco, const QString& logotipo, QWidget* parent = nullptr);

    // The help topic of the window, which F1 opens.
    static constexpr int kTopicoDaAjuda = 4005;

    QLineEdit* Litros = nullptr;
    QLineEdit* Volume = nullptr;
    QCheckBox* MeioSaco = nullptr;
    PreviaTraco* previa() const { return m_previa; }
    const printing::Documento& documento() const;

    // Composes the sheet from the boxes; false, with the message, when they hold no batch.
    bool calcula();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    calc::CalcState m_traco;
    double m_pesoSaco = 0.0;
    QString m_logotipo;
    PreviaTraco* m_previa = nullptr;
};

// The batch of the stored mix of these Tracos fields in its window, shown modally through the program's dialogs;
// `logotipo` empty takes the data folder's logo. False, with the message, when the mix has no cement or its cement
// no bag mass, or its products cannot be read.
bool mostraBetonada(QWidget* pai, platform::Database& banco, const QVariantMap& campos,
                    const QString& logotipo = QString());

} // namespace preview
