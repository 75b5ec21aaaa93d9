#include "tracojson.h"

#include "json.h"

#include "calc/opcoes.h"

#include <limits>

namespace cli {

namespace {

using Presenca = LeitorCampos::Presenca;
using Faixa = LeitorCampos::Faixa;

// The slump is stored as a three-digit text ("080").
constexpr int kMaiorAbatimento = 999;
// The variant is shown with two digits ("Concreto 20 - 07").
constexpr int kMaiorVariante = 99;

struct CampoNumerico
{
    const char* nome;
    Presenca presenca;
    Faixa faixa;
};

// What the mix is recalculated from: physical data, the batch in the mix's measure, moisture, labour per cubic
// metre and losses.
constexpr CampoNumerico kNumeros[] = {
    {"EspeCim", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"AparCim", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"EspeMiu", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"AparMiu", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"EspeGra", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"AparGra", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"TracoCimento", Presenca::Obrigatorio, Faixa::NaoNegativo},
    {"TracoAreiaFina", Presenca::Opcional, Faixa::NaoNegativo},
    {"TracoAreiaGrossa", Presenca::Opcional, Faixa::NaoNegativo},
    {"TracoGraudoQde1", Presenca::Opcional, Faixa::NaoNegativo},
    {"TracoGraudoQde2", Presenca::Opcional, Faixa::NaoNegativo},
    {"TracoAditivoQde1", Presenca::Opcional, Faixa::NaoNegativo},
    {"TracoAditivoQde2", Presenca::Opcional, Faixa::NaoNegativo},
    {"Umidade", Presenca::Opcional, Faixa::Percentual},
    {"ReducaoAgua", Presenca::Opcional, Faixa::Percentual},
    {"MaodeObra", Presenca::Opcional, Faixa::NaoNegativo},
    {"Perda", Presenca::Opcional, Faixa::NaoNegativo},
};

struct CampoInteiro
{
    const char* nome;
    Presenca presenca;
    int minimo;
    int maximo;
};

// Codes of the option groups, the slump, the variant and the product codes (used with --dados when the mix
// names no product).
constexpr CampoInteiro kInteiros[] = {
    {"Volumetrico", Presenca::Obrigatorio, 0, 2},
    {"Textura", Presenca::Obrigatorio, 0, 2},
    {"Fator", Presenca::Obrigatorio, 0, kMaiorAbatimento},
    {"Destino", Presenca::Opcional, 0, 3},
    {"Dosagem", Presenca::Opcional, 0, 2},
    {"TracoVariante", Presenca::Opcional, 0, kMaiorVariante},
    {"TracoCimentoCod", Presenca::Opcional, 0, std::numeric_limits<int>::max()},
    {"TracoGraudoCod1", Presenca::Opcional, 0, std::numeric_limits<int>::max()},
    {"TracoGraudoCod2", Presenca::Opcional, 0, std::numeric_limits<int>::max()},
    {"TracoAditivoCod1", Presenca::Opcional, 0, std::numeric_limits<int>::max()},
    {"TracoAditivoCod2", Presenca::Opcional, 0, std::numeric_limits<int>::max()},
};

constexpr const char* kTextos[] = {"NomeTraco",   "NomeCimento",  "NomeGraudo1",
                                   "NomeGraudo2", "NomeAditivo1", "NomeAditivo2"};

// Fields the recalculation writes: a value given for one is replaced, but must still be a number.
constexpr const char* kCalculados[] = {"Cimento",
                                       "AreiaFina",
                                       "AreiaGrossa",
                                       "Graudo1",
                                       "Graudo2",
                                       "AditivoQde1",
                                       "AditivoQde2",
                                       "Agua",
                                       "AguaAdic",
                                       "TracoAgua",
                                       "TracoAguaAdic",
                                       "TracoMaoDeObra",
                                       "Resistencia",
                                       "PrecoCustoSemPerda",
                                       "PrecoCustoComPerda",
                                       "f",
                                       "wc",
                                       "fcj",
                                       "Sd",
                                       "W",
                                       "Dmax"};

} // namespace

std::optional<QVariantMap> linhaDoTraco(LeitorCampos& leitor)
{
    QVariantMap linha;
    for (const CampoNumerico& campo : kNumeros) {
        const QString nome = QLatin1String(campo.nome);
        if (const std::optional<double> valor = leitor.numero(nome, campo.presenca, campo.faixa))
            linha.insert(nome, *valor);
    }
    for (const CampoInteiro& campo : kInteiros) {
        const QString nome = QLatin1String(campo.nome);
        if (const std::optional<int> valor = leitor.inteiro(nome, campo.presenca, campo.minimo, campo.maximo))
            linha.insert(nome, *valor);
    }
    for (const char* campo : kTextos) {
        const QString nome = QLatin1String(campo);
        if (const std::optional<QString> valor = leitor.texto(nome, Presenca::Opcional))
            linha.insert(nome, *valor);
    }
    for (const char* campo : kCalculados)
        leitor.numero(QLatin1String(campo), Presenca::Opcional, Faixa::Qualquer);

    const QString classe = QStringLiteral("Classe");
    if (const std::optional<QString> valor = leitor.opcao(classe, Presenca::Opcional, calc::Opcoes::classes()))
        linha.insert(classe, *valor);
    // The class comes from the cement's name ("Cimento 32"), or from Classe when no cement is named.
    const bool cimentoNomeado = !linha.value(QStringLiteral("NomeCimento")).toString().trimmed().isEmpty();
    if (!cimentoNomeado && !leitor.tem(classe))
        leitor.erro(QStringLiteral("Informe a classe do cimento (Classe) ou o cimento do traço (NomeCimento)."));

    if (!leitor.ok())
        return std::nullopt;
    return linha;
}

} // namespace cli
