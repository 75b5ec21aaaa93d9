#include "physicaldata.h"

#include "formats.h"
#include "numericentry.h"

#include <array>
#include <cmath>
#include <limits>

namespace calc {

namespace {

struct Faixa
{
    const char* nome;
    double minimo;
    double maximo;
    // The range as the user reads it.
    const char* texto;
};

constexpr double kSemLimite = std::numeric_limits<double>::infinity();

constexpr std::array<Faixa, physicalDataCount> kFaixas{{
    {"A massa específica do cimento", 1.0, 4.0, "um número entre 1,0 e 4,0 kg/l"},
    {"A massa aparente do cimento", 0.5, 2.5, "um número entre 0,5 e 2,5 kg/l"},
    {"A massa específica do agregado miúdo", 1.0, 4.0, "um número entre 1,0 e 4,0 kg/l"},
    {"A massa aparente do agregado miúdo", 0.5, 2.5, "um número entre 0,5 e 2,5 kg/l"},
    {"A massa específica do agregado graúdo", 1.0, 4.0, "um número entre 1,0 e 4,0 kg/l"},
    {"A massa aparente do agregado graúdo", 0.5, 2.5, "um número entre 0,5 e 2,5 kg/l"},
    {"A umidade do agregado miúdo", 0.0, 20.0, "um número entre 0 e 20 %"},
    {"A quantidade de horas homem por m³", 0.0, kSemLimite, "um número igual ou maior que 0"},
    {"A perda do concreto", 0.0, kSemLimite, "um número igual ou maior que 0 %"},
}};

} // namespace

std::optional<double> physicalValue(int index, const QString& text)
{
    if (index < 0 || index >= physicalDataCount) {
        return std::nullopt;
    }
    const std::optional<double> valor = strictNumber(text);
    const Faixa& faixa = kFaixas[std::size_t(index)];
    if (!valor || !std::isfinite(*valor) || *valor < faixa.minimo || *valor > faixa.maximo) {
        return std::nullopt;
    }
    return valor;
}

QString physicalDataMessage(int index, const QString& text)
{
    if (index < 0 || index >= physicalDataCount) {
        return QString();
    }
    const Faixa& faixa = kFaixas[std::size_t(index)];
    const QString digitado = text.trimmed().isEmpty() ? QStringLiteral("está em branco")
                                                      : QStringLiteral("não pode ser \"%1\"").arg(text.trimmed());
    return QString::fromUtf8(faixa.nome) + QLatin1Char(' ') + digitado + QStringLiteral(".\rInforme ") +
           QString::fromUtf8(faixa.texto) + QLatin1Char('.');
}

QString physicalText(int index, const QString& text)
{
    const std::optional<double> value = physicalValue(index, text);
    return value ? formatFull(*value) : text;
}

} // namespace calc
