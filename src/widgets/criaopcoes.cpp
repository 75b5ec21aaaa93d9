#include "criaopcoes.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace widgets {

QButtonGroup* criaOpcoes(QWidget* dono, QGroupBox* moldura, const QString& nome, const QStringList& legendas)
{
    auto* grupo = new QButtonGroup(dono);
    auto* coluna = new QVBoxLayout(moldura);
    for (int i = 0; i < legendas.size(); ++i) {
        auto* opcao = new QRadioButton(legendas.at(i), moldura);
        opcao->setObjectName(nome + QString::number(i));
        grupo->addButton(opcao, i);
        coluna->addWidget(opcao);
    }
    return grupo;
}

QComboBox* criaLista(const QString& nome, const QStringList& escolhas)
{
    auto* lista = new QComboBox;
    lista->setObjectName(nome);
    lista->addItems(escolhas);
    return lista;
}

} // namespace widgets
