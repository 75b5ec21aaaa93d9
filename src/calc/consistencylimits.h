#pragma once

#include <QString>

#include <array>

namespace calc {

// The four slump limits (mm) that separate the five consistency classes, from the wettest down: above
// Abate1 "Líquida", above Abate2 "Fluida", above Abate3 "Plástica", above Abate4 "Plástica Seca", else
// "Seca". They come from the company's consistency settings.
struct ConsistencyLimits
{
    double Abate1 = 150.0;
    double Abate2 = 90.0;
    double Abate3 = 50.0;
    double Abate4 = 20.0;

    // Limits as the settings hold them, each text read as its leading number.
    static ConsistencyLimits fromTexts(const QString& abate1, const QString& abate2, const QString& abate3,
                                       const QString& abate4);
    // The limits as the settings store them ("150"); those of a default-constructed value are the ones a new
    // company starts with.
    std::array<QString, 4> texts() const;
};

} // namespace calc
