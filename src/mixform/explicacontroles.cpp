// The "O que é isto?" texts of the mix form, what each control holds and how it is used, and the names a screen
// reader says for each control.
#include "formtraco.h"

#include "widgets/caixatexto.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace mixform {

void FormTraco::explicaControles()
{
    const auto explica = [](QWidget* w, const QString& texto) {
        if (w)
            w->setWhatsThis(texto);
    };
    explica(Pasta, QStringLiteral("Cadastro de traços: a página <b>Traço</b> tem a identificação e as opções, "
                                  "<b>Componentes e Massas</b> as quantidades e os dados físicos, <b>Resultados e "
                                  "Custos</b> as proporções, a resistência e o custo do metro cúbico."));
    explica(TextoC[CaixaNome],
            QStringLiteral("Nome do traço. Traços com o mesmo nome são variantes numeradas de um só traço."));
    explica(Combo[ListaNome],
            QStringLiteral("Nome do traço: digite um nome novo ou escolha um existente para criar uma nova "
                           "variante dele."));
    explica(TextoC[CaixaConsistencia],
            QStringLiteral("Consistência do concreto, dada pelo abatimento (slump) e pelos limites da "
                           "tabela de consistências."));
    explica(Combo[ListaConsistencia],
            QStringLiteral("Consistência: a escolha preenche a lista de abatimentos da classe."));
    explica(TextoC[CaixaAbatimento], QStringLiteral("Abatimento do tronco de cone (slump), em milímetros."));
    explica(Combo[ListaAbatimento],
            QStringLiteral("Abatimento em milímetros, dentro da consistência escolhida. Define a água por "
                           "metro cúbico."));
    explica(TextoC[CaixaCadastro], QStringLiteral("Data de cadastro do traço (dd-mm-aaaa)."));
    explica(TextoC[CaixaCotacao],
            QStringLiteral("Data da cotação de preços em que se baseia o custo gravado (dd-mm-aaaa)."));
    explica(TextoC[CaixaReducao], QStringLiteral("Redução de água, em %, obtida com aditivo superplastificante."));
    explica(Combo[ListaReducao],
            QStringLiteral("Redução de água, em %, obtida com aditivo superplastificante; 0 quando não há."));
    explica(RotVar, QStringLiteral("Número da variante deste traço (00, 01, 02...)."));
    explica(TracoCorrente, QStringLiteral("Marque para colocar este traço de plantão (em uso). Só uma variante de "
                                          "cada nome fica em uso."));
    explica(RotuloPlantao, QStringLiteral("Indica se este traço é o de plantão (em uso) entre as variantes do nome."));
    for (QLabel* b : Betoneira)
        explica(b, QStringLiteral("Betoneira girando: traço em uso. Parada: traço inativo. Durante a edição, um "
                                  "clique troca a situação."));
    explica(Faixa, QStringLiteral("O primeiro traço de um nome novo é sempre o traço em uso."));
    explica(ClasseCimento, QStringLiteral("Classe do cimento (25, 32, 40 ou ARI). Entra na lei de Abrams pelo "
                                          "fator de classe."));
    explica(GraficoAbrams,
            QStringLiteral("Mostra a lei de Abrams do cimento do traço (fcj contra a relação água/cimento) com o ponto "
                           "do traço, o fcj que o fck pede e a a/c máxima da classe de agressividade; o gráfico se "
                           "salva como imagem ou se imprime."));
    explica(Durabilidade, QStringLiteral("Limites de durabilidade da classe de agressividade do ambiente: água/cimento "
                                         "máxima, resistência mínima e consumo mínimo de cimento."));
    explica(ClasseAgressividade,
            QStringLiteral("Classe de agressividade ambiental em que o concreto vai trabalhar "
                           "(I fraca a IV muito forte). O traço é conferido com os limites dela."));
    explica(Estrutura, QStringLiteral("Concreto armado ou protendido: o protendido tem limites mais rigorosos."));
    explica(TextoDurabilidade,
            QStringLiteral("Se o traço atende cada limite da classe escolhida: água/cimento, fck e cimento por m³."));
    for (QRadioButton* o : OpcaoForma)
        explica(o, QStringLiteral("Condição de medição dos materiais. Define o desvio padrão (4,0, 5,5 ou 7,0 MPa) e "
                                  "se os sólidos são medidos em quilos ou em litros."));
    for (QRadioButton* o : OpcaoTextura)
        explica(o, QStringLiteral("Forma e textura do agregado graúdo. Altera a água necessária (fator 0,90, 1,00 "
                                  "ou 1,05)."));
    for (QRadioButton* o : TipoConcreto)
        explica(o, QStringLiteral("Uso ou utilização do concreto. O assistente usa para propor a relação entre "
                                  "areia e agregado total."));
    const std::array<const char*, 10> linhas{"cimento",
                                             "areia fina",
                                             "areia grossa",
                                             "primeiro agregado graúdo",
                                             "segundo agregado graúdo",
                                             "primeiro aditivo",
                                             "segundo aditivo",
                                             "água a adicionar na betoneira",
                                             "água total",
                                             "mão-de-obra (horas-homem)"};
    for (int i = 0; i < 10; ++i) {
        const QString linha = QString::fromUtf8(linhas[i]);
        explica(TextoT[i], QStringLiteral("Quantidade de %1 em um traço (uma betonada). Digite as quantidades do "
                                          "traço: o metro cúbico é calculado a seguir.")
                               .arg(linha));
        explica(TextoM[i], QStringLiteral("Quantidade de %1 em um metro cúbico de concreto, calculada a partir do "
                                          "traço.")
                               .arg(linha));
        explica(CompT[i], QStringLiteral("Componente: %1.").arg(linha));
        explica(CompM[i], QStringLiteral("Componente: %1.").arg(linha));
        explica(UnidT[i], QStringLiteral("Unidade da quantidade."));
        explica(UnidM[i], QStringLiteral("Unidade da quantidade."));
    }
    explica(Combo[ListaCimento], QStringLiteral("Cimento usado. A classe do cimento vem do fim do nome."));
    for (int i : {3, 4})
        explica(Combo[i], QStringLiteral("Agregado graúdo. O maior deles dá a dimensão máxima, que define a água."));
    for (int i : {5, 6})
        explica(Combo[i], QStringLiteral("Aditivo, medido na unidade do produto."));
    const std::array<const char*, 7> fisicos{
        "Massa específica do cimento, em kg/litro.",          "Massa aparente (unitária) do cimento, em kg/litro.",
        "Massa específica do agregado miúdo (areia).",        "Massa aparente do agregado miúdo (areia).",
        "Massa específica do agregado graúdo (brita).",       "Massa aparente do agregado graúdo (brita).",
        "Umidade da areia, em %: corrige a água a adicionar."};
    for (int i = 0; i < 7; ++i)
        explica(Texto[i], QString::fromUtf8(fisicos[i]));
    explica(findChild<QGroupBox*>(QStringLiteral("Frame")),
            QStringLiteral("Identificação do traço: nome, número da variante e se está em uso."));
    explica(Massa[0], QStringLiteral("Massas específicas e aparentes dos materiais."));
    explica(Massa[1], QStringLiteral("Umidade contida na areia."));
    explica(Massa[2], QStringLiteral("Condição de medição dos materiais."));
    explica(Massa[3], QStringLiteral("Forma e textura do agregado graúdo."));
    explica(Massa[4], QStringLiteral("Uso ou utilização do concreto."));
    explica(Massa[5], QStringLiteral("Classe do cimento."));
    const std::array<const char*, 6> resultados{
        "Peso de um metro cúbico de concreto, em kg.",
        "Relação agregado/cimento: quilos de agregado (areia e brita) por quilo de cimento.",
        "Peso de um traço (uma betonada), em kg.",
        "Traço em proporções em massa: cimento : areia : brita : água total, por quilo de cimento.",
        "Traço em proporções em volume: cimento : areia : brita : água adicional, por litro de cimento solto.",
        "Resistência característica à compressão (fck) que o traço alcança, em MPa."};
    for (int i = 0; i < 6; ++i)
        explica(TextoI[i], QString::fromUtf8(resultados[i]));
    explica(Custo[CustoSemPerda],
            QStringLiteral("Custo de um metro cúbico sem perdas, pelos preços de custo dos produtos."));
    explica(Custo[CustoPerda], QStringLiteral("Perdas e sobras do concreto, em %."));
    explica(Custo[CustoComPerda], QStringLiteral("Custo de um metro cúbico com as perdas."));
    explica(TextoCO2, QStringLiteral("Emissão de CO₂ equivalente dos materiais de um metro cúbico (kg CO₂e/m³): a "
                                     "quantidade de cada produto vezes o seu fator de emissão. <b>Parcial</b> quando "
                                     "algum produto usado não tem fator (são listados em <i>sem fator</i>); "
                                     "<b>—</b> quando nenhum tem. Os fatores são dados em <b>Fatores de Emissão "
                                     "(CO₂)</b>, no menu Visualizar."));
    explica(Redutor, QStringLiteral("Redução de água com aditivo superplastificante."));
    explica(Reducao, QStringLiteral("Redução de água com aditivo superplastificante."));
}

void FormTraco::nomeiaControles()
{
    // Each name is the caption a sighted user reads beside the control; boxes that share a caption say which
    // column or material they belong to.
    const auto nomeia = [](QWidget* w, const QString& nome) { w->setAccessibleName(nome); };
    nomeia(Pasta, QStringLiteral("Páginas do traço"));
    nomeia(TextoC[CaixaNome], QStringLiteral("Nome do traço"));
    nomeia(Combo[ListaNome], QStringLiteral("Nome do traço"));
    nomeia(TextoC[CaixaConsistencia], QStringLiteral("Consistência"));
    nomeia(Combo[ListaConsistencia], QStringLiteral("Consistência"));
    nomeia(TextoC[CaixaAbatimento], QStringLiteral("Abatimento em mm."));
    nomeia(Combo[ListaAbatimento], QStringLiteral("Abatimento em mm."));
    nomeia(TextoC[CaixaCadastro], QStringLiteral("Data de cadastro"));
    nomeia(TextoC[CaixaCotacao], QStringLiteral("Data de cotação"));
    nomeia(TextoC[CaixaReducao], QStringLiteral("Redução de água em %"));
    nomeia(Combo[ListaReducao], QStringLiteral("Redução de água em %"));
    nomeia(ClasseCimento, QStringLiteral("Classe do cimento"));
    nomeia(ClasseAgressividade, QStringLiteral("Classe de agressividade"));
    nomeia(Estrutura, QStringLiteral("Estrutura"));
    const std::array<const char*, 6> movimentos{"Primeiro",       "Anterior", "Em uso anterior",
                                                "Próximo em uso", "Próximo",  "Último"};
    for (int i = 0; i < 6; ++i)
        nomeia(Movimento[i], QString::fromUtf8(movimentos[i]));
    const std::array<const char*, 7> massas{"Massa específica do cimento",         "Massa aparente do cimento",
                                            "Massa específica do agregado miúdo",  "Massa aparente do agregado miúdo",
                                            "Massa específica do agregado graúdo", "Massa aparente do agregado graúdo",
                                            "Umidade contida no agregado miúdo"};
    for (int i = 0; i < 7; ++i)
        nomeia(Texto[i], QString::fromUtf8(massas[i]));
    const std::array<const char*, 6> resultados{"Peso por m3",
                                                "Relação agregado/cimento",
                                                "Peso por traço",
                                                "Traço em Proporções em Massa",
                                                "Traço em Proporções em Volume",
                                                "Resistência característica (fck)"};
    for (int i = 0; i < 6; ++i)
        nomeia(TextoI[i], QString::fromUtf8(resultados[i]));
    const std::array<const char*, 3> custos{"Custo sem perdas", "Perdas, sobras", "Custo com perdas"};
    for (int i = 0; i < 3; ++i)
        nomeia(Custo[i], QString::fromUtf8(custos[i]));
    nomeia(TextoCO2, QStringLiteral("Emissão de CO₂ por m3"));
    for (int linha = 0; linha < 10; ++linha)
        nomeiaLinha(linha);
}

} // namespace mixform
