#include "carregatraco.h"

#include "calcstate.h"
#include "consistency.h"
#include "formats.h"
#include "guards.h"
#include "numericentry.h"
#include "producttable.h"
#include "recalculo.h"
#include "strength.h"

#include <array>
#include <optional>

namespace calc {

namespace {

bool hasValue(const QVariant& value)
{
    return value.isValid() && !value.isNull();
}

std::optional<QString> textOf(const QVariant& value)
{
    if (!hasValue(value)) {
        return std::nullopt;
    }
    return value.toString();
}

// A field as a number: numbers as they are; a text only when it is a number, a decimal comma accepted.
std::optional<double> numberOf(const QVariant& value)
{
    if (!hasValue(value)) {
        return std::nullopt;
    }
    if (value.typeId() == QMetaType::QString) {
        return strictNumber(value.toString());
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return number;
}

void readNumber(const FieldSource& row, const QString& field, double& target)
{
    if (const std::optional<double> value = numberOf(row(field))) {
        store(target, *value);
    }
}

// A field as a 16-bit integer (halves to even); nothing when it is not a number or does not fit.
std::optional<qint16> wholeOf(const QVariant& value)
{
    if (const std::optional<double> number = numberOf(value)) {
        return toInt16(*number);
    }
    return std::nullopt;
}

void readWhole(const FieldSource& row, const QString& field, qint16& target)
{
    if (const std::optional<qint16> value = wholeOf(row(field))) {
        target = *value;
    }
}

// The product of a slot, or nothing when the row names none that can be found.
std::optional<ProductInfo> productOf(const FieldSource& row, const ProductSlot& slot, const ProductTable* products)
{
    if (const std::optional<QString> name = textOf(row(QLatin1String(slot.nameField)))) {
        if (name->trimmed().isEmpty()) {
            return std::nullopt;
        }
        ProductInfo product;
        if (products) {
            product = products->findByName(*name).value_or(ProductInfo{});
        }
        product.name = *name;
        return product;
    }
    if (!products) {
        return std::nullopt;
    }
    const std::optional<double> code = numberOf(row(QLatin1String(slot.codeField)));
    if (!code) {
        return std::nullopt;
    }
    return products->findByCode(qint64(*code));
}

double rowQuantity(const FieldSource& row, const char* field)
{
    return numberOf(row(QLatin1String(field))).value_or(0.0);
}

} // namespace

const std::array<ProductSlot, 5>& productSlots()
{
    static constexpr std::array<ProductSlot, 5> table{{{0, "NomeCimento", "TracoCimentoCod", "TracoCimento"},
                                                       {3, "NomeGraudo1", "TracoGraudoCod1", "TracoGraudoQde1"},
                                                       {4, "NomeGraudo2", "TracoGraudoCod2", "TracoGraudoQde2"},
                                                       {5, "NomeAditivo1", "TracoAditivoCod1", "TracoAditivoQde1"},
                                                       {6, "NomeAditivo2", "TracoAditivoCod2", "TracoAditivoQde2"}}};
    return table;
}

void CarregaTraco(CalcState& s, const FieldSource& row, const ProductTable* products)
{
    s.nomes.fill(QString());
    s.unidades.fill(QString());
    s.A1 = s.A2 = s.A1m = s.A2m = 0.0;

    if (const std::optional<QString> name = textOf(row(QStringLiteral("NomeTraco")))) {
        s.nomeTraco = *name;
        const qint16 variant = wholeOf(row(QStringLiteral("TracoVariante"))).value_or(0);
        s.titulo = name->trimmed() + QStringLiteral(" - ") + padded(variant, 2);
    }
    if (const std::optional<QString> reduction = textOf(row(QStringLiteral("ReducaoAgua")))) {
        store(s.r, leadingNumber(PontoDecimal(*reduction)) / 100.0);
    }
    s.superplastificante = s.r > 0.0;
    readWhole(row, QStringLiteral("Destino"), s.destino);
    // Rows written before the durability limits hold nothing there: no class.
    s.classeAgressividade = 0;
    s.estrutura = 0;
    readWhole(row, QStringLiteral("ClasseAgressividade"), s.classeAgressividade);
    readWhole(row, QStringLiteral("Estrutura"), s.estrutura);
    if (const std::optional<qint16> code = wholeOf(row(QStringLiteral("Dosagem")))) {
        if (const std::optional<double> sd = DesvioPadrao(*code)) {
            s.Sd = *sd;
        }
    }

    // The stored batch is in kilograms when the mix is measured by mass, in litres of loose material
    // when by volume.
    readWhole(row, QStringLiteral("Volumetrico"), s.dosagem);
    const auto readBatch = [&](std::array<double*, 10> targets) {
        static const std::array<QString, 10> fields{
            QStringLiteral("TracoCimento"),    QStringLiteral("TracoAreiaFina"),  QStringLiteral("TracoAreiaGrossa"),
            QStringLiteral("TracoGraudoQde1"), QStringLiteral("TracoGraudoQde2"), QStringLiteral("Cimento"),
            QStringLiteral("AreiaFina"),       QStringLiteral("AreiaGrossa"),     QStringLiteral("Graudo1"),
            QStringLiteral("Graudo2")};
        for (std::size_t i = 0; i < fields.size(); ++i) {
            readNumber(row, fields[i], *targets[i]);
        }
    };
    if (s.dosagem == 0) {
        readBatch({&s.Mc, &s.Mfs, &s.Mcs, &s.Mg1, &s.Mg2, &s.Cm, &s.Sfm, &s.Scm, &s.G1m, &s.G2m});
    } else if (s.emVolume()) {
        readBatch({&s.Lc, &s.Lfs, &s.Lcs, &s.Lg1, &s.Lg2, &s.Lcm, &s.Lfsm, &s.Lcsm, &s.Lg1m, &s.Lg2m});
    }

    readNumber(row, QStringLiteral("EspeCim"), s.gammaC);
    readNumber(row, QStringLiteral("AparCim"), s.rhoC);
    readNumber(row, QStringLiteral("EspeMiu"), s.gammaS);
    readNumber(row, QStringLiteral("AparMiu"), s.rhoS);
    readNumber(row, QStringLiteral("EspeGra"), s.gammaG);
    readNumber(row, QStringLiteral("AparGra"), s.rhoG);
    if (const std::optional<double> moisture = numberOf(row(QStringLiteral("Umidade")))) {
        store(s.h, *moisture / 100.0);
    }

    for (const ProductSlot& slot : productSlots()) {
        const std::optional<ProductInfo> product = productOf(row, slot, products);
        if (!product) {
            continue;
        }
        s.nomes[slot.index] = product->name;
        if (slot.index == 5) {
            s.unidades[0] = product->unit;
            readNumber(row, QStringLiteral("TracoAditivoQde1"), s.A1);
            readNumber(row, QStringLiteral("AditivoQde1"), s.A1m);
        } else if (slot.index == 6) {
            s.unidades[1] = product->unit;
            readNumber(row, QStringLiteral("TracoAditivoQde2"), s.A2);
            readNumber(row, QStringLiteral("AditivoQde2"), s.A2m);
        }
    }

    // Cement products are named "Cimento " followed by the class.
    const QString& cement = s.nomes[0];
    if (!cement.isEmpty()) {
        s.classe = textoDaClasse(cement);
    } else if (const std::optional<QString> cls = textOf(row(QStringLiteral("Classe")))) {
        s.classe = *cls;
    }

    s.Dmax =
        dmaxOfRows(s.nomes[3], rowQuantity(row, "TracoGraudoQde1"), s.nomes[4], rowQuantity(row, "TracoGraudoQde2"));

    if (const std::optional<qint16> code = wholeOf(row(QStringLiteral("Textura")))) {
        if (const std::optional<double> shape = shapeFactor(*code)) {
            s.textura = *code;
            s.fatorForma = *shape;
        }
    }
    readWhole(row, QStringLiteral("Fator"), s.abatimento);
    readNumber(row, QStringLiteral("Agua"), s.W);
    readNumber(row, QStringLiteral("MaodeObra"), s.Hm);
    readNumber(row, QStringLiteral("Perda"), s.perda);

    scaleToCubicMetre(s);
    store(s.wc, quot(s.W, s.Cm));
    store(s.H_b, quot(s.Hm, s.f));
    CalculaProporcoes(s);

    if (const std::optional<QString> text = textOf(row(QStringLiteral("PesoTraco")))) {
        s.pesoTraco = *text;
    }
    if (const std::optional<QString> text = textOf(row(QStringLiteral("Peso")))) {
        s.peso = *text;
    }
    readWhole(row, QStringLiteral("Resistencia"), s.fck);
}

void CarregaTraco(CalcState& state, const QVariantMap& row, const ProductTable* products)
{
    CarregaTraco(
        state, [&row](const QString& field) { return row.value(field); }, products);
}

} // namespace calc
