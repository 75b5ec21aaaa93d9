#include "schema.h"

#include "platform/database.h"
#include "platform/transaction.h"

#include <algorithm>
#include <functional>

namespace catalogue {

namespace {

using Tipo = Campo::Tipo;

Campo chave(const char* nome)
{
    return {QLatin1String(nome), Tipo::Chave};
}
Campo codigo(const char* nome)
{
    return {QLatin1String(nome), Tipo::Codigo};
}
Campo inteiro(const char* nome, int desde = 1)
{
    return {QLatin1String(nome), Tipo::Inteiro, 0, false, desde};
}
Campo logico(const char* nome)
{
    return {QLatin1String(nome), Tipo::Logico};
}
Campo real(const char* nome)
{
    return {QLatin1String(nome), Tipo::Real};
}
Campo texto(const char* nome, int tamanho, bool semCaixa = false)
{
    return {QLatin1String(nome), Tipo::Texto, tamanho, semCaixa};
}
Campo contador(const char* nome, int desde)
{
    return {QLatin1String(nome), Tipo::Versao, 0, false, desde};
}

QString tipoSql(const platform::Database& db, const Campo& campo)
{
    using T = platform::Driver::TipoDeColuna;
    switch (campo.tipo) {
    case Tipo::Chave:
        // Numbers are never given twice, not even after the last row is deleted: products refer to mix codes.
        return db.driver().tipoDaColuna(T::Chave);
    case Tipo::Codigo:
        return db.driver().tipoDaColuna(T::Inteiro) + QStringLiteral(" PRIMARY KEY");
    case Tipo::Inteiro:
        return db.driver().tipoDaColuna(T::Inteiro);
    case Tipo::Logico:
        return db.driver().tipoDaColuna(T::Logico);
    case Tipo::Real:
        return db.driver().tipoDaColuna(T::Real);
    case Tipo::Texto:
        return db.driver().tipoDaColuna(campo.semCaixa ? T::TextoSemCaixa : T::Texto, campo.tamanho);
    case Tipo::Versao:
        return db.driver().tipoDaColuna(T::Contador);
    }
    return {};
}

void criaIndice(platform::Database& db, const char* nome, const Tabela& tabela, QStringList campos, bool unico = false)
{
    const auto cria = [&](const QString& indice, const QStringList& colunas, bool comoUnico) {
        db.exec(QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                    .arg(comoUnico ? QStringLiteral("UNIQUE ") : QString(), platform::Database::citado(indice),
                         platform::Database::citado(tabela.nome), colunas.join(QStringLiteral(", "))));
    };
    QStringList exatos;
    QStringList colunas;
    for (const QString& campo : std::as_const(campos)) {
        const Campo* declarado = tabela.campo(campo);
        exatos.append(platform::Database::citado(campo));
        colunas.append(declarado && declarado->semCaixa ? db.driver().indiceSemCaixa(exatos.back()) : exatos.back());
    }
    cria(QLatin1String(nome), colunas, unico);
    // An engine that folds the case in the index itself cannot use it for a name looked up as it is written: that
    // lookup gets an index of its own.
    if (colunas != exatos)
        cria(QLatin1String(nome) + QStringLiteral("Exato"), exatos, false);
}

// The tables the upgrade step `passo` creates.
void criaTabelas(platform::Database& db, int passo)
{
    for (const Tabela* tabela : Schema::tabelas()) {
        if (tabela->desde != passo)
            continue;
        db.exec(Schema::criaTabela(db, *tabela, passo));
        for (const QString& sql : db.driver().depoisDeCriarTabela(tabela->nome))
            db.exec(sql);
    }
}

// The columns the upgrade step `passo` adds to the tables that exist before it.
void acrescentaColunas(platform::Database& db, int passo)
{
    for (const Tabela* tabela : Schema::tabelas()) {
        if (tabela->desde >= passo)
            continue;
        for (const Campo& campo : tabela->campos) {
            if (campo.desde == passo)
                db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                            .arg(platform::Database::citado(tabela->nome), platform::Database::citado(campo.nome),
                                 tipoSql(db, campo)));
        }
    }
}

// The upgrade steps, numbered from 1; a database file at version n has had steps 1 to n applied.
using Passo = std::function<void(platform::Database&)>;

const QList<Passo>& passos()
{
    static const QList<Passo> lista{
        // 1: the six tables and the catalogue's indexes.
        [](platform::Database& db) {
            for (const QString& sql : db.driver().preparacao())
                db.exec(sql);
            criaTabelas(db, 1);
            criaIndice(db, "TracosNomeVariante", Schema::tracos(),
                       {QStringLiteral("NomeTraco"), QStringLiteral("TracoVariante")}, true);
            criaIndice(db, "TracosCodigoTraco", Schema::tracos(), {QStringLiteral("CodigoTraco")});
            criaIndice(db, "ProdutosNome", Schema::produtos(), {QStringLiteral("NomeProduto")});
            criaIndice(db, "ProdutosCodigoTraco", Schema::produtos(), {QStringLiteral("CodigoTraco")});
        },
        // 2: every mix counts its writes. The trigger counts those of any program of the suite, and those of the
        // catalogue's own rules (a mix losing the in-use mark to a variant, a name renamed), so that a workstation
        // that read a mix before any of them notices it changed.
        [](platform::Database& db) {
            acrescentaColunas(db, 2);
            for (const QString& sql : db.driver().contaAlteracoes(QStringLiteral("Tracos"), QStringLiteral("Versao"),
                                                                  QStringLiteral("Codigo")))
                db.exec(sql);
        },
        // 3: the environmental aggressiveness class and the kind of element, of each mix and as the company's
        // choice for a new design.
        [](platform::Database& db) { acrescentaColunas(db, 3); },
        // 4: the CO2 factors of the products, empty until the company gives them.
        [](platform::Database& db) { criaTabelas(db, 4); },
    };
    return lista;
}

} // namespace

const Campo* Tabela::campo(const QString& nomeCampo) const
{
    for (const Campo& c : campos) {
        if (c.nome.compare(nomeCampo, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

QStringList Tabela::nomes() const
{
    QStringList lista;
    for (const Campo& c : campos)
        lista.append(c.nome);
    return lista;
}

const Tabela& Schema::tracos()
{
    static const Tabela tabela{
        QStringLiteral("Tracos"),
        {
            chave("Codigo"),
            inteiro("CodigoTraco"),
            texto("NomeTraco", 50, true),
            inteiro("TracoVariante"),
            logico("Plantao"),
            logico("Atualizado"),
            texto("DataCadastro", 10),
            texto("DataCotacao", 10),
            texto("Fator", 10),
            texto("ReducaoAgua", 20),
            texto("Classe", 5),
            inteiro("Volumetrico"),
            inteiro("Dosagem"),
            inteiro("Textura"),
            inteiro("Destino"),
            real("EspeCim"),
            real("AparCim"),
            real("EspeMiu"),
            real("AparMiu"),
            real("EspeGra"),
            real("AparGra"),
            real("Umidade"),
            texto("Peso", 30),
            texto("PesoTraco", 30),
            texto("RelAgregCimento", 30),
            texto("PropMassa", 60),
            texto("PropVolume", 60),
            inteiro("Resistencia"),
            real("PrecoCustoSemPerda"),
            real("Perda"),
            real("PrecoCustoComPerda"),
            inteiro("TracoCimentoCod"),
            real("TracoCimento"),
            real("Cimento"),
            real("TracoAreiaFina"),
            real("AreiaFina"),
            real("TracoAreiaGrossa"),
            real("AreiaGrossa"),
            inteiro("TracoGraudoCod1"),
            real("TracoGraudoQde1"),
            real("Graudo1"),
            inteiro("TracoGraudoCod2"),
            real("TracoGraudoQde2"),
            real("Graudo2"),
            inteiro("TracoAditivoCod1"),
            real("TracoAditivoQde1"),
            real("AditivoQde1"),
            inteiro("TracoAditivoCod2"),
            real("TracoAditivoQde2"),
            real("AditivoQde2"),
            real("TracoAguaAdic"),
            real("AguaAdic"),
            real("TracoAgua"),
            real("Agua"),
            real("TracoMaoDeObra"),
            real("MaodeObra"),
            contador("Versao", 2),
            inteiro("ClasseAgressividade", 3),
            inteiro("Estrutura", 3),
        },
    };
    return tabela;
}

const Tabela& Schema::produtos()
{
    static const Tabela tabela{
        QStringLiteral("Produtos"),
        {
            chave("CodigoProduto"),
            texto("NomeProduto", 50, true),
            inteiro("CodigoLinha"),
            inteiro("Unidade"),
            real("Peso"),
            real("PrecoCustoComPerda"),
            texto("DataPrecoCusto", 10),
            inteiro("CodigoTraco"),
        },
    };
    return tabela;
}

const Tabela& Schema::unidades()
{
    static const Tabela tabela{
        QStringLiteral("Unidades"),
        {chave("CodigoUnidade"), texto("NomeUnidade", 20, true)},
    };
    return tabela;
}

const Tabela& Schema::dadosEmpresa()
{
    static const Tabela tabela{
        QStringLiteral("DadosEmpresa"),
        {chave("Codigo"), texto("Nome", 80), logico("Morto")},
    };
    return tabela;
}

const Tabela& Schema::massas()
{
    static const Tabela tabela{
        QStringLiteral("Massas"),
        {
            chave("Codigo"),
            texto("MassaCimentoEsp", 20),
            texto("MassaCimentoApa", 20),
            texto("MassaMiudoEsp", 20),
            texto("MassaMiudoApa", 20),
            texto("MassaGraudoEsp", 20),
            texto("MassaGraudoApa", 20),
            texto("UmidadeMiudo", 20),
            texto("MaodeObra", 20),
            texto("Perda", 20),
            texto("Classe", 5),
            inteiro("TipoDosagem"),
            inteiro("FormaDaBrita"),
            inteiro("UsoConcreto"),
            inteiro("ClasseAgressividade", 3),
            inteiro("Estrutura", 3),
        },
    };
    return tabela;
}

const Tabela& Schema::consistencias()
{
    static const Tabela tabela{
        QStringLiteral("Consistencias"),
        {chave("Codigo"), texto("Abate1", 10), texto("Abate2", 10), texto("Abate3", 10), texto("Abate4", 10)},
    };
    return tabela;
}

const Tabela& Schema::fatoresEmissao()
{
    // Keyed by the product's code: a factor whose product was deleted is never found again, codes are not reused.
    static const Tabela tabela{QStringLiteral("FatoresEmissao"), {codigo("CodigoProduto"), real("FatorCO2")}, 4};
    return tabela;
}

QList<const Tabela*> Schema::tabelas()
{
    return {&tracos(), &produtos(), &unidades(), &dadosEmpresa(), &massas(), &consistencias(), &fatoresEmissao()};
}

int Schema::versaoAtual()
{
    return int(passos().size());
}

int Schema::versao(platform::Database& db)
{
    return db.versaoDoEsquema();
}

void Schema::atualiza(platform::Database& db, int ate)
{
    const int ultimo = ate < 0 ? versaoAtual() : std::min(ate, versaoAtual());
    for (int passo = versao(db); passo < ultimo; ++passo) {
        platform::Transaction transacao(db);
        passos().at(passo)(db);
        db.gravaVersaoDoEsquema(passo + 1);
        transacao.commit();
    }
}

QString Schema::criaTabela(const platform::Database& db, const Tabela& tabela, int versao)
{
    QStringList colunas;
    for (const Campo& campo : tabela.campos)
        if (campo.desde <= versao)
            colunas.append(platform::Database::citado(campo.nome) + QLatin1Char(' ') + tipoSql(db, campo));
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(platform::Database::citado(tabela.nome), colunas.join(", "));
}

} // namespace catalogue
