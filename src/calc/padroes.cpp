#include "padroes.h"

namespace calc {

const Padroes& Padroes::inicial()
{
    static const Padroes padroes{{QStringLiteral("3.10"), QStringLiteral("1.43"), QStringLiteral("2.61"),
                                  QStringLiteral("1.20"), QStringLiteral("2.72"), QStringLiteral("1.38"),
                                  QStringLiteral("6"), QStringLiteral("20"), QStringLiteral("5")},
                                 QStringLiteral("32"),
                                 2,
                                 1,
                                 0};
    return padroes;
}

} // namespace calc
