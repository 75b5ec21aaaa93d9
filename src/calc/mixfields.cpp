#include "mixfields.h"

#include "calcstate.h"
#include "formats.h"

#include <array>

namespace calc {

namespace {

struct Field
{
    const char* name;
    QVariant (*value)(const CalcState&);
};

// The batch and the cubic metre of rows 0 to 4 are stored in the measure of the mix.
double measured(const CalcState& s, double mass, double looseVolume)
{
    return s.emVolume() ? looseVolume : mass;
}

const auto fields = std::to_array<Field>({
    {"NomeTraco", [](const CalcState& s) { return QVariant(s.nomeTraco); }},
    {"Fator", [](const CalcState& s) { return QVariant(padded(s.abatimento, 3)); }},
    {"ReducaoAgua", [](const CalcState& s) { return QVariant(formatFull(s.r * 100.0)); }},
    {"Classe", [](const CalcState& s) { return QVariant(s.classe.trimmed()); }},
    {"Volumetrico", [](const CalcState& s) { return QVariant(int(s.dosagem)); }},
    {"Dosagem", [](const CalcState& s) { return QVariant(int(s.dosagem)); }},
    {"Textura", [](const CalcState& s) { return QVariant(int(s.textura)); }},
    {"Destino", [](const CalcState& s) { return QVariant(int(s.destino)); }},
    {"ClasseAgressividade", [](const CalcState& s) { return QVariant(int(s.classeAgressividade)); }},
    {"Estrutura", [](const CalcState& s) { return QVariant(int(s.estrutura)); }},
    {"EspeCim", [](const CalcState& s) { return QVariant(s.gammaC); }},
    {"AparCim", [](const CalcState& s) { return QVariant(s.rhoC); }},
    {"EspeMiu", [](const CalcState& s) { return QVariant(s.gammaS); }},
    {"AparMiu", [](const CalcState& s) { return QVariant(s.rhoS); }},
    {"EspeGra", [](const CalcState& s) { return QVariant(s.gammaG); }},
    {"AparGra", [](const CalcState& s) { return QVariant(s.rhoG); }},
    {"Umidade", [](const CalcState& s) { return QVariant(s.h * 100.0); }},
    {"Peso", [](const CalcState& s) { return QVariant(s.peso); }},
    {"PesoTraco", [](const CalcState& s) { return QVariant(s.pesoTraco); }},
    {"RelAgregCimento", [](const CalcState& s) { return QVariant(s.relAgregCimento); }},
    {"PropMassa", [](const CalcState& s) { return QVariant(s.propMassa); }},
    {"PropVolume", [](const CalcState& s) { return QVariant(s.propVolume); }},
    {"Resistencia", [](const CalcState& s) { return QVariant(int(s.fck)); }},
    {"PrecoCustoSemPerda", [](const CalcState& s) { return QVariant(s.custoSemPerda); }},
    {"Perda", [](const CalcState& s) { return QVariant(s.perda); }},
    {"PrecoCustoComPerda", [](const CalcState& s) { return QVariant(s.custoComPerda); }},
    {"TracoCimento", [](const CalcState& s) { return QVariant(measured(s, s.Mc, s.Lc)); }},
    {"TracoAreiaFina", [](const CalcState& s) { return QVariant(measured(s, s.Mfs, s.Lfs)); }},
    {"TracoAreiaGrossa", [](const CalcState& s) { return QVariant(measured(s, s.Mcs, s.Lcs)); }},
    {"TracoGraudoQde1", [](const CalcState& s) { return QVariant(measured(s, s.Mg1, s.Lg1)); }},
    {"TracoGraudoQde2", [](const CalcState& s) { return QVariant(measured(s, s.Mg2, s.Lg2)); }},
    {"TracoAditivoQde1", [](const CalcState& s) { return QVariant(s.A1); }},
    {"TracoAditivoQde2", [](const CalcState& s) { return QVariant(s.A2); }},
    {"TracoAguaAdic", [](const CalcState& s) { return QVariant(s.Wa_b); }},
    {"TracoAgua", [](const CalcState& s) { return QVariant(s.W_b); }},
    {"TracoMaoDeObra", [](const CalcState& s) { return QVariant(s.H_b); }},
    {"Cimento", [](const CalcState& s) { return QVariant(measured(s, s.Cm, s.Lcm)); }},
    {"AreiaFina", [](const CalcState& s) { return QVariant(measured(s, s.Sfm, s.Lfsm)); }},
    {"AreiaGrossa", [](const CalcState& s) { return QVariant(measured(s, s.Scm, s.Lcsm)); }},
    {"Graudo1", [](const CalcState& s) { return QVariant(measured(s, s.G1m, s.Lg1m)); }},
    {"Graudo2", [](const CalcState& s) { return QVariant(measured(s, s.G2m, s.Lg2m)); }},
    {"AditivoQde1", [](const CalcState& s) { return QVariant(s.A1m); }},
    {"AditivoQde2", [](const CalcState& s) { return QVariant(s.A2m); }},
    {"AguaAdic", [](const CalcState& s) { return QVariant(s.Wa); }},
    {"Agua", [](const CalcState& s) { return QVariant(s.W); }},
    {"MaodeObra", [](const CalcState& s) { return QVariant(s.Hm); }},
    {"f", [](const CalcState& s) { return QVariant(s.f); }},
    {"wc", [](const CalcState& s) { return QVariant(s.wc); }},
    {"fcj", [](const CalcState& s) { return QVariant(s.fcj); }},
    {"Sd", [](const CalcState& s) { return QVariant(s.Sd); }},
    {"W", [](const CalcState& s) { return QVariant(s.W); }},
    {"Dmax", [](const CalcState& s) { return QVariant(s.Dmax); }},
    {"C", [](const CalcState& s) { return QVariant(s.C); }},
    {"n", [](const CalcState& s) { return QVariant(s.n); }},
    {"alfa", [](const CalcState& s) { return QVariant(s.alfa); }},
    {"RelacaoProposta", [](const CalcState& s) { return QVariant(s.relacaoProposta); }},
    {"Relacoes",
     [](const CalcState& s) { return QVariant(QVariantList{s.relacoes[0], s.relacoes[1], s.relacoes[2]}); }},
    {"Consistencia", [](const CalcState& s) { return QVariant(s.consistencia); }},
    {"NomeCimento", [](const CalcState& s) { return QVariant(s.nomes[0]); }},
    {"NomeGraudo1", [](const CalcState& s) { return QVariant(s.nomes[3]); }},
    {"NomeGraudo2", [](const CalcState& s) { return QVariant(s.nomes[4]); }},
    {"NomeAditivo1", [](const CalcState& s) { return QVariant(s.nomes[5]); }},
    {"NomeAditivo2", [](const CalcState& s) { return QVariant(s.nomes[6]); }},
});

} // namespace

QStringList fieldNames()
{
    QStringList names;
    names.reserve(qsizetype(fields.size()));
    for (const Field& field : fields) {
        names.append(QLatin1String(field.name));
    }
    return names;
}

QVariant fieldValue(const CalcState& state, const QString& field)
{
    for (const Field& entry : fields) {
        if (field == QLatin1String(entry.name)) {
            return entry.value(state);
        }
    }
    return QVariant();
}

QVariantMap toFields(const CalcState& state)
{
    QVariantMap map;
    for (const Field& field : fields) {
        map.insert(QLatin1String(field.name), field.value(state));
    }
    return map;
}

} // namespace calc
