#pragma once

#include "catalogue/fatoresco2.h"

#include <QDialog>

#include <array>

class QPushButton;
class QTableWidget;

namespace platform {
class Database;
}

namespace settings {

// "Fatores de Emissão (CO₂)": the products of the suite, each with its unit and the kg CO₂e one unit of it emits,
// typed by the company from its suppliers' declarations. An empty cell is a product without a factor. "&Gravar"
// writes every factor in one transaction; a cell that is no number is refused with a message and nothing is written.
class FormCO2 : public QDialog
{
    Q_OBJECT
public:
    // Reads the products and their factors from the database, which must be open. Throws DbError when it cannot.
    explicit FormCO2(platform::Database& db, QWidget* parent = nullptr);

    QTableWidget* tabela() const { return m_tabela; }

    // The column of the factors, the only one edited.
    static constexpr int ColunaFator = 2;

signals:
    // The factors were written: the windows show their mixes' CO₂ again.
    void atualizaVista();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum Botao { Gravar = 0, Cancelar = 1, Ajuda = 2 };

    void grava();

    platform::Database& m_db;
    QList<catalogue::FatorDoProduto> m_produtos;
    QTableWidget* m_tabela = nullptr;
    std::array<QPushButton*, 3> m_botaoCO2{};
};

} // namespace settings
