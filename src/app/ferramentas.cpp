#include "ferramentas.h"

namespace app::Ferramentas {

namespace {

QString u(const char* texto)
{
    return QString::fromUtf8(texto);
}

QList<Ferramenta> monta()
{
    QList<Ferramenta> lista{
        {u("ID_Gravar"), u("&Gravar"), u("Gravar dados do registro"), u("Gravar as alterações")},
        {u("ID_Cancelar"), u("&Cancelar"), u("Cancelar dados inseridos"), u("Cancelar as alterações")},
        {u("ID_Sair"), u("&Sair do Programa"), u("Para sair do programa"), u("Sair do Programa")},
        {u("ID_ExportarCatalogo"), u("&Exportar catálogo…"),
         u("Grava os traços numa planilha (CSV ou Excel) ou em JSON"), u("Exportar catálogo")},
        {u("ID_PastaDados"), u("&Pasta de dados…"), u("Mostra a pasta de dados em uso e permite trocá-la"),
         u("Pasta de dados")},
        {u("ID_Incluir"), u("&Incluir"), u("Incluir novo registro"), u("Incluir um registro")},
        {u("ID_Alterar"), u("&Alterar"), u("Alterar o registro corrente"), u("Alterar o registro")},
        {u("ID_Excluir"), u("&Excluir"), u("Excluir o registro corrente"), u("Excluir o registro")},
        {u("ID_Tracos"), u("&Quenvar"), u("Editar traços de concreto"), u("Cadastro de Traços")},
        {u("ID_ListaTracos"), u("&Lista de Traços"), u("Mostra ou esconde a lista de todos os traços"),
         u("Lista de Traços (Ctrl+F procura)")},
        {u("ID_MassasEspecíficas"), u("&Massas e Dosagens"), u("Editar massas específicas e outros dados"),
         u("Massas Específicas e Tipos de Dosagens ")},
        {u("ID_AbatimentodoConcreto"), u("Abatimento do &Concreto"),
         u("Estabelece o slump (abatimento) e sua consistência"), u("Tabela de Abatimento")},
        {u("ID_FatoresCO2"), u("Fatores de &Emissão (CO₂)…"), u("kg de CO₂ emitidos por unidade de cada produto"),
         u("Fatores de emissão de CO₂")},
        {u("ID_AssistentedeTraços"), u("&Assistente de Traços"),
         u("Determina um traço com dados e características fornecidas"), u("Assistente para novo traço")},
        {u("ID_TodosTracos"), u("&Todos os Traços"), u("Mostra e Imprime todos os traços cadastrados"),
         u("Todos os traços cadastrados")},
        {u("ID_TracosUso"), u("Todos em &Uso"), u("Mostra e Imprime todos os traços em uso"), u("Traços em Uso")},
        {u("ID_SomenteEste"), u("&Somente este traço"), u("Mostra e Imprime o traço abaixo"), u("Somente este traço")},
        {u("ID_AtualizarCustos"), u("Atualizar &Custos"), u("Recalcula os custos dos traços com os preços atuais"),
         u("Atualizar os custos do catálogo")},
        {u("ID_CompararVariantes"), u("Comparar &variantes"), u("Compara lado a lado as variantes deste traço"),
         u("Comparar as variantes do traço")},
        {u("ID_Betonada"), u("&Betonada…"), u("Divide este traço em betonadas de sacos inteiros para a betoneira"),
         u("Betonada para a betoneira")},
        {u("ID_Abrams"), u("Gráfico de &Abrams…"), u("Mostra a resistência deste traço na curva da lei de Abrams"),
         u("Gráfico de Abrams")},
        {u("ID_AjudadoPrograma"), u("Tópicos da &Ajuda"), u("Fornece ajuda do programa"),
         u("Mostra tópicos da ajuda do programa")},
        {u("ID_ConteúdoeÍndice"), u("&Conteúdo e Índice"), u("Ajuda - Conteúdo e Índice"), QString()},
        {u("ID_Oqueéisto?"), u("&O que é isto?"), u("Ajuda local"), QString()},
        {u("ID_Oqueé"), u("O que é isto?"), u("Ajuda local"), QString()},
        {u("ID_Novaversão"), u("Checar nova &versão ..."), u("Como checar se existe nova versão do módulo"),
         u("Indo no site para checar nova versão")},
        {u("ID_Mail"), u("&Enviar um comentário ..."), u("Para enviar um comentário, sugestão, critíca"),
         u("Para enviar um comentário")},
        {u("ID_SobreoPrograma"), u("&Sobre o Programa ..."), u("Fornece dados sobre o programa"), QString()},
    };
    const QStringList nomes = modulos();
    for (int i = 0; i < nomes.size(); ++i) {
        lista.append({QStringLiteral("ID_Modulo%1").arg(i + 1), nomes[i],
                      QStringLiteral("Encerrar este módulo e iniciar o ") + nomes[i], QString()});
    }
    return lista;
}

} // namespace

QStringList modulos()
{
    return {u("Faturamento"), u("Estoque"), u("Compras"),    u("Contas a Pagar"),     u("Contas a Receber"),
            u("Produção"),    u("Quenvar"), u("Orçamentos"), u("Folha de Pagamento"), u("Fiscal")};
}

QStringList executaveis()
{
    return {u("faturamento"), u("estoque"), u("compras"),    u("pagar"), u("receber"),
            u("producao"),    u("quenvar"), u("orcamentos"), u("folha"), u("fiscal")};
}

const QList<Ferramenta>& todas()
{
    static const QList<Ferramenta> lista = monta();
    return lista;
}

const Ferramenta* procura(const QString& id)
{
    for (const Ferramenta& f : todas()) {
        if (f.id == id)
            return &f;
    }
    return nullptr;
}

const QList<Grupo>& menus()
{
    static const QList<Grupo> lista{
        {u("ID_Arquivo"),
         u("&Arquivo"),
         {u("ID_Gravar"), u("ID_Cancelar"), QString(), u("ID_ExportarCatalogo"), u("ID_PastaDados"), QString(),
          u("ID_Sair")}},
        {u("ID_Editar"), u("&Editar"), {u("ID_Incluir"), u("ID_Alterar"), u("ID_Excluir")}},
        {u("ID_Visualizar"),
         u("&Visualizar"),
         {u("ID_Tracos"), u("ID_ListaTracos"), QString(), u("ID_MassasEspecíficas"), u("ID_AbatimentodoConcreto"),
          u("ID_FatoresCO2"), QString(), u("ID_AssistentedeTraços")}},
        {u("ID_Relatórios"),
         u("&Relatórios"),
         {u("ID_TodosTracos"), u("ID_TracosUso"), QString(), u("ID_SomenteEste"), u("ID_CompararVariantes"),
          u("ID_Betonada"), u("ID_Abrams"), QString(), u("ID_AtualizarCustos")}},
        {u("ID_Módulos"),
         u("&Módulos"),
         {u("ID_Modulo1"), u("ID_Modulo2"), u("ID_Modulo3"), u("ID_Modulo4"), u("ID_Modulo5"), u("ID_Modulo6"),
          u("ID_Modulo7"), u("ID_Modulo8"), u("ID_Modulo9"), u("ID_Modulo10")}},
        {u("ID_Ajuda"),
         u("Aj&uda"),
         {u("ID_AjudadoPrograma"), u("ID_ConteúdoeÍndice"), u("ID_Oqueéisto?"), QString(), u("ID_Novaversão"),
          u("ID_Mail"), QString(), u("ID_SobreoPrograma")}},
    };
    return lista;
}

const Grupo& menuEditarE()
{
    static const Grupo g{
        u("ID_EditarE"), u("EditarE"), {u("ID_Incluir"), u("ID_Alterar"), u("ID_Excluir"), QString(), u("ID_Oqueé")}};
    return g;
}

const Grupo& menuArquivoE()
{
    static const Grupo g{u("ID_ArquivoE"), u("ArquivoE"), {u("ID_Gravar"), u("ID_Cancelar"), QString(), u("ID_Oqueé")}};
    return g;
}

const Grupo& barra1()
{
    static const Grupo g{u("Barra1"),
                         u("Barra1"),
                         {u("ID_Tracos"), u("ID_MassasEspecíficas"), u("ID_AbatimentodoConcreto"),
                          u("ID_AssistentedeTraços"), QString(), u("ID_Incluir"), u("ID_Alterar"), u("ID_Excluir"),
                          QString(), u("ID_Oqueéisto?"), u("ID_Sair")}};
    return g;
}

const Grupo& barra2()
{
    static const Grupo g{
        u("Barra2"), u("Barra2"), {u("ID_Gravar"), QString(), u("ID_Cancelar"), QString(), u("ID_Oqueéisto?")}};
    return g;
}

} // namespace app::Ferramentas
