#include "opcoes.h"

namespace calc::Opcoes {

const std::array<Opcao, 3>& medicao()
{
    static const std::array<Opcao, 3> lista{{
        {QStringLiteral("Em Massa, controle de umidade"), QStringLiteral("Em Massa, controle rigoroso de umidade"),
         QStringLiteral("Medição em Massa, com controle rigoroso de umidade")},
        {QStringLiteral("Em Volume, controle de umidade"), QStringLiteral("Em Volume, controle rigoroso de umidade"),
         QStringLiteral("Medição em Volume, com controle rigoroso de umidade")},
        {QStringLiteral("Em Volume, sem contr.umidade"), QStringLiteral("Em Volume, sem controle de umidade"),
         QStringLiteral("Medição em Volume, sem controle rigoroso de umidade")},
    }};
    return lista;
}

const std::array<Opcao, 3>& textura()
{
    static const std::array<Opcao, 3> lista{{
        {QStringLiteral("Agregado bem arredondado"), QStringLiteral("Agregado bem arredondado"),
         QStringLiteral("Agregado Graúdo bem arredondado")},
        {QStringLiteral("Agregado britado cúbico"), QStringLiteral("Agregado britado cúbico"),
         QStringLiteral("Agregado Graúdo Britado Cúbico")},
        {QStringLiteral("Agregado britado lamelar"), QStringLiteral("Agregado britado lamelar"),
         QStringLiteral("Agregado Graúdo Britado Lamelar")},
    }};
    return lista;
}

const std::array<Opcao, 5>& agressividade()
{
    static const std::array<Opcao, 5> lista{{
        {QStringLiteral("Não verificar"), QStringLiteral("Não verificar"), QString()},
        {QStringLiteral("I – fraca"), QStringLiteral("I – fraca (rural, submersa)"), QStringLiteral("I – fraca")},
        {QStringLiteral("II – moderada"), QStringLiteral("II – moderada (urbana)"), QStringLiteral("II – moderada")},
        {QStringLiteral("III – forte"), QStringLiteral("III – forte (marinha, industrial)"),
         QStringLiteral("III – forte")},
        {QStringLiteral("IV – muito forte"), QStringLiteral("IV – muito forte (industrial química, respingos de maré)"),
         QStringLiteral("IV – muito forte")},
    }};
    return lista;
}

const std::array<Opcao, 2>& estrutura()
{
    static const std::array<Opcao, 2> lista{{
        {QStringLiteral("Armado"), QStringLiteral("Concreto armado"), QStringLiteral("concreto armado")},
        {QStringLiteral("Protendido"), QStringLiteral("Concreto protendido"), QStringLiteral("concreto protendido")},
    }};
    return lista;
}

const std::array<Opcao, 4>& destino()
{
    static const std::array<Opcao, 4> lista{{
        {QStringLiteral("Concretos Correntes"), QStringLiteral("Concretos Correntes"),
         QStringLiteral("Concreto para estruturas correntes")},
        {QStringLiteral("Para Peças Delgadas"), QStringLiteral("Para Peças Delgadas"),
         QStringLiteral("Concreto para peças delgadas")},
        {QStringLiteral("Concretos Aparentes"), QStringLiteral("Concretos Aparentes"),
         QStringLiteral("Concreto aparente")},
        {QStringLiteral("Concretos Bombeados"), QStringLiteral("Concretos Bombeados"),
         QStringLiteral("Para uso de concreto bombeado")},
    }};
    return lista;
}

const QStringList& classes()
{
    static const QStringList lista{QStringLiteral("25"), QStringLiteral("32"), QStringLiteral("40"),
                                   QStringLiteral("ARI")};
    return lista;
}

QString unidadeSolidos(int medicao)
{
    switch (medicao) {
    case 0:
        return QStringLiteral("Kg");
    case 1:
    case 2:
        return QStringLiteral("Litros");
    default:
        return {};
    }
}

} // namespace calc::Opcoes
