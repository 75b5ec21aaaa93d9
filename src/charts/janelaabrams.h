#pragma once

#include "calc/abrams.h"

#include <QDialog>

class QPushButton;

namespace charts {

class GraficoAbrams;

// The Abrams chart of a mix in a window of its own, with "Salvar imagem…" (PNG) and "Imprimir…", which shows the
// chart's page in the print preview, from where it is printed or saved as PDF.
class JanelaAbrams : public QDialog
{
    Q_OBJECT
public:
    explicit JanelaAbrams(const calc::Abrams& abrams, QWidget* parent = nullptr);

    // The help topic of the window, which F1 opens.
    static constexpr int kTopicoDaAjuda = 4006;

    GraficoAbrams* Grafico = nullptr;
    QPushButton* SalvarImagem = nullptr;
    QPushButton* Imprimir = nullptr;
    QPushButton* Fechar = nullptr;

    // The chart's page in the print preview, shown modally through the program's dialogs.
    void visualizaImpressao();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The window of the chart, shown modally through the program's dialogs.
void mostraAbrams(QWidget* pai, const calc::Abrams& abrams);

} // namespace charts
