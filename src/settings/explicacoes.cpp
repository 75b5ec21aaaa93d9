#include "explicacoes.h"

#include <QWidget>

#include <utility>

namespace settings {

namespace {

void explica(QWidget* form, const QString& nome, const QString& texto)
{
    if (QWidget* w = form->findChild<QWidget*>(nome))
        w->setWhatsThis(texto);
}

void botoes(QWidget* form, const QString& prefixo)
{
    explica(form, prefixo + QLatin1Char('0'), QStringLiteral("Grava os valores e fecha a janela."));
    explica(form, prefixo + QLatin1Char('1'), QStringLiteral("Fecha a janela sem gravar nada."));
    explica(form, prefixo + QLatin1Char('2'),
            QStringLiteral("Volta aos valores padrões. Nada é gravado até que se pressione OK."));
    explica(form, prefixo + QLatin1Char('3'), QStringLiteral("Mostra a ajuda desta janela."));
}

} // namespace

void explicaFormMass(QWidget* form)
{
    const std::pair<const char*, const char*> textos[] = {
        {"Texto0", "Massa específica do cimento, em kg/litro (padrão 3,10)."},
        {"Texto1", "Massa aparente (unitária) do cimento, em kg/litro (padrão 1,43)."},
        {"Texto2", "Massa específica do agregado miúdo (areia), em kg/litro (padrão 2,61)."},
        {"Texto3", "Massa aparente do agregado miúdo (areia), em kg/litro (padrão 1,20)."},
        {"Texto4", "Massa específica do agregado graúdo (brita), em kg/litro (padrão 2,72)."},
        {"Texto5", "Massa aparente do agregado graúdo (brita), em kg/litro (padrão 1,38)."},
        {"Texto6", "Umidade contida na areia, em %. Corrige a água a adicionar na betoneira."},
        {"Texto7", "Horas-homem para produzir um metro cúbico de concreto."},
        {"Texto8", "Perdas e sobras do concreto, em %: (1 - consumido/produzido) x 100."},
        {"ClasseCimento", "Classe do cimento que um traço novo usa: 25, 32, 40 ou ARI."},
        {"ClasseAgressividade", "Classe de agressividade ambiental que o assistente propõe a um traço novo: limita "
                                "a água/cimento e pede resistência e consumo de cimento mínimos."},
        {"Estrutura", "Concreto armado ou protendido, para os limites da classe de agressividade."},
        {"Pastinha", "Valores de referência que todo traço novo e o assistente usam."},
    };
    for (const auto& [nome, texto] : textos)
        explica(form, QLatin1String(nome), QString::fromUtf8(texto));
    for (int i = 0; i < 3; ++i) {
        explica(form, QStringLiteral("OpcaoForma%1").arg(i),
                QStringLiteral("Condição de medição de um traço novo: define o desvio padrão e se os sólidos são "
                               "medidos em quilos ou em litros."));
        explica(form, QStringLiteral("OpcaoTextura%1").arg(i),
                QStringLiteral("Forma e textura do agregado graúdo de um traço novo."));
    }
    for (int i = 0; i < 4; ++i)
        explica(form, QStringLiteral("TipoConcreto%1").arg(i),
                QStringLiteral("Uso ou utilização do concreto de um traço novo."));
    botoes(form, QStringLiteral("BotaoDados"));
}

void explicaFormCons(QWidget* form)
{
    const char* const classes[] = {"Líquida", "Fluida", "Plástica", "Plástica Seca"};
    for (int i = 0; i < 4; ++i)
        explica(form, QStringLiteral("ValorFator%1").arg(i),
                QStringLiteral("Abatimento, em mm, acima do qual o concreto é da classe \"%1\". Os limites devem "
                               "decrescer de cima para baixo.")
                    .arg(QString::fromUtf8(classes[i])));
    explica(form, QStringLiteral("Fator4"),
            QStringLiteral("Abatimentos até este valor, em mm, são da classe \"Seca\"."));
    botoes(form, QStringLiteral("BotaoFator"));
}

void explicaFormCO2(QWidget* form)
{
    explica(form, QStringLiteral("TabelaCO2"),
            QStringLiteral("Os produtos e o fator de emissão de cada um: kg de CO₂ equivalente emitidos para produzir "
                           "uma unidade do produto, na unidade da coluna Unidade (um saco de cimento, um m3 de "
                           "areia, um litro de aditivo). Digite com vírgula decimal; deixe em branco o produto sem "
                           "fator. Os traços somam a emissão dos seus materiais por m3."));
    explica(form, QStringLiteral("BotaoCO20"), QStringLiteral("Grava os fatores e fecha a janela."));
    explica(form, QStringLiteral("BotaoCO21"), QStringLiteral("Fecha a janela sem gravar nada."));
    explica(form, QStringLiteral("BotaoCO22"), QStringLiteral("Mostra a ajuda desta janela."));
}

} // namespace settings
