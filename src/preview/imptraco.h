#pragma once

#include "calc/calcstate.h"

#include <QDialog>
#include <QVariantMap>

#include <optional>

class QSqlRecord;

namespace calc {
class ProductTable;
}

namespace preview {

class PreviaTraco;

// The preview form of the mix sheet. Each time it is shown it composes the sheet anew: for a stored mix it loads
// the row with CarregaTraco and prints the sheet with the row's header and costs; for a mix already computed
// (the wizard's experimental mix) it prints that mix. The user zooms, prints or saves a PDF; Esc hides the form,
// which swallows every key.
class ImpTraco : public QDialog
{
    Q_OBJECT
public:
    // A stored mix: the fields of its Tracos row and the products its codes are looked up in (may be null when
    // the row names its products in NomeCimento … NomeAditivo2).
    ImpTraco(const QVariantMap& linha, const calc::ProductTable* produtos, QWidget* parent = nullptr);
    // A mix already computed; its sheet is the experimental one (no costs).
    explicit ImpTraco(const calc::CalcState& estado, QWidget* parent = nullptr);
    ~ImpTraco() override;

    // The stored row to print at the next activation (the catalogue's current row).
    void defineLinha(const QVariantMap& linha);
    void defineLinha(const QSqlRecord& registro);
    // The computed mix to print at the next activation, as an experimental mix.
    void defineEstado(const calc::CalcState& estado);
    // The picture in the sheet's corner; the data folder's logo unless told otherwise.
    void defineLogotipo(const QString& arquivo) { m_logotipo = arquivo; }

    // The fields of a record set's row, by name.
    static QVariantMap camposDe(const QSqlRecord& registro);

    PreviaTraco* previa() const { return m_previa; }
    // The mix as the sheet was last composed from it.
    const calc::CalcState& estado() const { return m_estado; }

    // What showing the form does: PreparaFolha, the stored row loaded, ImprimeTraco, zoom 100 %.
    void ativa();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    explicit ImpTraco(QWidget* parent);
    void copiaMedidas(const QWidget* principal);
    void engoleTeclas(QWidget* raiz);

    PreviaTraco* m_previa = nullptr;
    calc::CalcState m_estado;
    std::optional<QVariantMap> m_linha;
    const calc::ProductTable* m_produtos = nullptr;
    QString m_logotipo;
};

} // namespace preview
