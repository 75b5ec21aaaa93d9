#include "catalogo.h"

#include "consultas.h"
#include "schema.h"

#include "calc/formats.h"
#include "platform/colacao.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "platform/transaction.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <algorithm>

namespace catalogue {

namespace {

using platform::DbError;

const QChar CR = QLatin1Char('\r');

// The fields the rules decide, never taken from what the form sends.
const QStringList CamposDasRegras{QStringLiteral("Codigo"),    QStringLiteral("CodigoTraco"),
                                  QStringLiteral("NomeTraco"), QStringLiteral("TracoVariante"),
                                  QStringLiteral("Plantao"),   QStringLiteral("Versao")};

QVariantMap camposProprios(const QVariantMap& campos)
{
    QVariantMap proprios = campos;
    for (const QString& campo : CamposDasRegras)
        proprios.remove(campo);
    return proprios;
}

} // namespace

Catalogo::Catalogo(platform::Database& db) : m_db(db), m_tracos(db) {}

void Catalogo::abre()
{
    // A file of an earlier version gets what this version writes (the count of each mix's writes). One that cannot
    // take it now (a read-only folder, a workstation holding the file) is used as it is: its saves skip the check
    // of other workstations' writes. The failure goes to the error log for whoever looks after the data.
    if (Schema::versao(m_db) < Schema::versaoAtual()) {
        try {
            Schema::atualiza(m_db);
        } catch (const DbError& erro) {
            platform::RegistraErro(QStringLiteral("Atualizando o Banco de Dados"), erro.numero(), erro.descricao());
        }
    }
    leOrdem();
    leNomes();
    m_posicao = 0;
}

void Catalogo::leOrdem()
{
    // Asked before the read: a write that lands between the two is taken as unseen, and the next write of this
    // workstation reads the catalogue again.
    m_escritasVistas = m_db.marcaDeEscritas();
    m_incluido.reset();
    const Consulta catalogo = Consultas::catalogo(m_db);
    m_tracos.setQuery(catalogo.sql, catalogo.valores);
    m_total = m_tracos.recordCount();
}

void Catalogo::acompanhaGravacao(const std::optional<platform::MarcaDeEscritas>& antes,
                                 const std::optional<platform::MarcaDeEscritas>& agora, Efeito efeito, qint64 codigo)
{
    // What was read is still what is stored, this write aside, only when nothing else was written since.
    if (!antes || !agora)
        return;
    if (m_escritasDosNomes == antes)
        m_escritasDosNomes = agora;
    if (m_escritasVistas != antes)
        return;
    switch (efeito) {
    case Efeito::OrdemMantida:
        m_escritasVistas = agora;
        return;
    case Efeito::Incluido:
        if (m_incluido)
            break; // one new mix at a time is put in its place; two are read again
        m_incluido = codigo;
        m_escritasVistas = agora;
        return;
    case Efeito::Retirado:
        if (m_incluido || !m_tracos.isOpen() || !m_tracos.retiraChave(codigo))
            break;
        m_total = m_tracos.recordCount();
        m_escritasVistas = agora;
        return;
    case Efeito::OrdemMudada:
        break;
    }
    m_escritasVistas.reset();
}

bool Catalogo::emPasso()
{
    return m_escritasVistas && !m_incluido && m_tracos.isOpen() && m_db.marcaDeEscritas() == m_escritasVistas;
}

bool Catalogo::incluiEmOrdem(qint64 codigo)
{
    if (m_incluido != codigo || !m_escritasVistas || !m_tracos.isOpen() || m_db.marcaDeEscritas() != m_escritasVistas)
        return false;
    m_incluido.reset();
    const auto nomeEVariante = [this](qint64 chave) -> std::optional<std::pair<QString, int>> {
        const Consulta c = Consultas::nomeEVariante(chave);
        QSqlQuery q = m_db.exec(c.sql, c.valores);
        if (!q.next())
            return std::nullopt;
        return std::pair{q.value(0).toString(), q.value(1).toInt()};
    };
    const std::optional<std::pair<QString, int>> novo = nomeEVariante(codigo);
    if (!novo)
        return false;
    // The first position whose mix comes after the new one, in the catalogue's order: names as the database sorts
    // them, then the variant's number.
    int inicio = 0;
    int fim = m_tracos.recordCount();
    while (inicio < fim) {
        const int meio = inicio + (fim - inicio) / 2;
        const qint64 chave = m_tracos.chaveEm(meio);
        if (chave == codigo)
            return false; // already in the record: its place may have changed, the catalogue is read again
        const std::optional<std::pair<QString, int>> outro = nomeEVariante(chave);
        if (!outro)
            return false;
        int ordem = platform::comparaTextos(outro->first, novo->first);
        if (ordem == 0)
            ordem = outro->second < novo->second ? -1 : outro->second > novo->second ? 1 : 0;
        if (ordem == 0)
            return false; // two mixes in one place: left to the database's order
        if (ordem < 0)
            inicio = meio + 1;
        else
            fim = meio;
    }
    m_tracos.incluiChave(inicio, codigo);
    m_total = m_tracos.recordCount();
    m_posicao = inicio + 1;
    return true;
}

void Catalogo::fecha()
{
    m_tracos.close();
}

QVariant Catalogo::marcador() const
{
    if (m_total < 1)
        return {};
    try {
        return m_tracos.bookmark();
    } catch (const DbError&) {
        return {}; // no current row: nothing to come back to
    }
}

void Catalogo::voltaAoMarcador(const QVariant& marcador)
{
    if (m_total < 1 || !marcador.isValid())
        return;
    try {
        m_tracos.setBookmark(marcador);
    } catch (const DbError&) {
        // The mix was deleted at another workstation meanwhile: the record stays where the catalogue stands.
    }
}

void Catalogo::ordena(std::optional<qint64> codigo)
{
    if (codigo && incluiEmOrdem(*codigo))
        return;
    const int onde = m_posicao;
    // Nothing written since the record was read, or only this workstation's writes it followed: reading it again
    // would give the same keys.
    if (!emPasso())
        leOrdem();
    bool achou = false;
    if (codigo) {
        try {
            m_tracos.setBookmark(*codigo);
            achou = true;
        } catch (const DbError& erro) {
            // The row is gone: the same place in the catalogue is shown instead.
            if (erro.numero() != platform::MarcadorInvalido)
                throw;
        }
    }
    if (!achou && m_total > 0)
        m_tracos.setAbsolutePosition(std::clamp(onde, 1, m_total) - 1);
    m_posicao = m_total > 0 ? m_tracos.absolutePosition() + 1 : 0;
}

void Catalogo::move(Movimento movimento)
{
    if (m_total <= 0)
        return;
    switch (movimento) {
    case Movimento::Primeiro:
        m_tracos.moveFirst();
        break;
    case Movimento::Anterior:
        m_tracos.movePrevious();
        if (m_tracos.bof())
            m_tracos.moveFirst();
        break;
    case Movimento::Proximo:
        m_tracos.moveNext();
        if (m_tracos.eof())
            m_tracos.moveLast();
        break;
    case Movimento::Ultimo:
        m_tracos.moveLast();
        break;
    case Movimento::AnteriorEmUso:
    case Movimento::ProximoEmUso: {
        // The neighbouring name's variant in use: another name, and in use. With none, the end of the catalogue.
        const bool adiante = movimento == Movimento::ProximoEmUso;
        const int aqui = m_tracos.absolutePosition();
        const QString nome = aqui < 0 ? QString() : m_tracos.field(QStringLiteral("NomeTraco")).toString();
        // Without a current row: backwards from the last row when the record stands past its end, forwards from
        // the first otherwise.
        const bool noFim = aqui < 0 && m_tracos.eof();
        const int passo = aqui >= 0 ? (adiante ? 1 : -1) : noFim ? -1 : 1;
        const int inicio = aqui >= 0 ? aqui + passo : noFim ? m_total - 1 : 0;
        const int achado = procuraEmUso(inicio, passo, nome);
        if (achado >= 0)
            m_tracos.setAbsolutePosition(achado);
        else if (adiante)
            m_tracos.moveLast();
        else
            m_tracos.moveFirst();
        break;
    }
    }
    m_posicao = m_tracos.absolutePosition() + 1;
}

int Catalogo::procuraEmUso(int inicio, int passo, const QString& nome)
{
    // The rows next to the current one, a few at a time and only the fields that decide: the next name's mix in
    // use is rarely more than a few rows away.
    constexpr int PorLeitura = 16;
    for (int posicao = inicio; posicao >= 0 && posicao < m_total;) {
        QList<qint64> chaves;
        for (int p = posicao; p >= 0 && p < m_total && chaves.size() < PorLeitura; p += passo)
            chaves.append(m_tracos.chaveEm(p));
        const Consulta c = Consultas::nomeEUso(chaves);
        QSqlQuery q = m_db.exec(c.sql, c.valores);
        QHash<qint64, std::pair<QString, bool>> linhas;
        while (q.next())
            linhas.insert(q.value(0).toLongLong(), {q.value(1).toString(), q.value(2).toBool()});
        for (const qint64 chave : std::as_const(chaves)) {
            // A row deleted at another workstation since the catalogue was read is passed over.
            const auto it = linhas.constFind(chave);
            if (it != linhas.cend() && it->second && it->first.compare(nome, Qt::CaseInsensitive) != 0)
                return posicao;
            posicao += passo;
        }
    }
    return -1;
}

void Catalogo::acompanha(int acao, bool& salvar)
{
    switch (acao) {
    case platform::RecordSet::MoverPrimeiro:
        m_posicao = 1;
        break;
    case platform::RecordSet::MoverAnterior:
        if (m_posicao != 1)
            --m_posicao;
        break;
    case platform::RecordSet::MoverProximo:
        if (m_posicao != m_total)
            ++m_posicao;
        break;
    case platform::RecordSet::MoverUltimo:
        m_posicao = m_total;
        break;
    case platform::RecordSet::AdicionarNovo:
        if (salvar) {
            if (m_tracos.editMode() == platform::RecordSet::EditMode::Adicionando) {
                ++m_total;
                m_posicao = m_total;
            } else {
                salvar = false;
            }
        }
        break;
    case platform::RecordSet::Excluir:
        --m_total;
        break;
    default:
        break;
    }
}

void Catalogo::leNomes()
{
    m_escritasDosNomes = m_db.marcaDeEscritas();
    m_nomes.clear();
    m_porDobra.clear();
    const Consulta c = Consultas::nomesDistintos(m_db);
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    while (q.next()) {
        const QVariant nome = q.value(0);
        if (!nome.isNull())
            m_nomes.append(nome.toString());
    }
    m_porDobra.reserve(m_nomes.size());
    for (const QString& nome : std::as_const(m_nomes))
        anotaDobra(nome);
}

void Catalogo::anotaDobra(const QString& nome)
{
    const QString dobra = platform::nomeDobrado(nome);
    const auto it = m_porDobra.find(dobra);
    if (it == m_porDobra.end())
        m_porDobra.insert(dobra, nome);
    else if (*it != nome)
        it->clear();
}

bool Catalogo::nomesEmDia()
{
    return m_escritasDosNomes && m_db.marcaDeEscritas() == m_escritasDosNomes;
}

int Catalogo::lugarDoNome(const QString& nome) const
{
    return platform::lugarEmOrdem(
        int(m_nomes.size()), [this](int i) { return m_nomes.at(i); }, nome);
}

int Catalogo::posicaoExata(const QString& nome) const
{
    const int lugar = lugarDoNome(nome);
    return lugar < m_nomes.size() && m_nomes.at(lugar) == nome ? lugar : -1;
}

int Catalogo::posicaoDoNome(const QString& nome) const
{
    const QString procurado = nome.trimmed();
    if (procurado.isEmpty())
        return -1;
    const auto dobra = m_porDobra.constFind(platform::nomeDobrado(procurado));
    if (dobra == m_porDobra.cend())
        return -1;
    if (dobra->isEmpty()) {
        // Names that differ only in case: the first of the list, as the user sees them.
        for (int i = 0; i < m_nomes.size(); ++i) {
            if (platform::nomeDobrado(m_nomes.at(i)) == dobra.key())
                return i;
        }
        return -1;
    }
    return posicaoExata(*dobra);
}

void Catalogo::trocaNome(const QString& antigo, const QString& novo)
{
    if (!antigo.isEmpty() && antigo != novo) {
        if (const int lugar = posicaoExata(antigo); lugar >= 0) {
            m_nomes.removeAt(lugar);
            const QString dobra = platform::nomeDobrado(antigo);
            if (m_porDobra.value(dobra) == antigo)
                m_porDobra.remove(dobra);
        }
    }
    if (!novo.isEmpty()) {
        const int lugar = lugarDoNome(novo);
        if (lugar == m_nomes.size() || m_nomes.at(lugar) != novo) {
            m_nomes.insert(lugar, novo);
            anotaDobra(novo);
        }
    }
}

std::optional<QString> Catalogo::nomeGravado(const QString& nome)
{
    const QString procurado = nome.trimmed();
    if (procurado.isEmpty())
        return std::nullopt;
    // While no other workstation has written since the names were read, the list is what is stored.
    if (nomesEmDia()) {
        const auto dobra = m_porDobra.constFind(platform::nomeDobrado(procurado));
        if (dobra == m_porDobra.cend())
            return std::nullopt;
        if (!dobra->isEmpty())
            return *dobra;
    }
    // The name's own index finds it as it is usually typed; a name stored with blanks around it, or typed with
    // accented letters in another case, is found by comparing every name folded.
    const Consulta exato = Consultas::nomeExato(procurado);
    QVariant achado = m_db.scalar(exato.sql, exato.valores);
    if (achado.isNull()) {
        const Consulta dobrado = Consultas::nomeDobrado(m_db, platform::nomeDobrado(procurado));
        achado = m_db.scalar(dobrado.sql, dobrado.valores);
    }
    if (achado.isNull())
        return std::nullopt;
    return achado.toString();
}

int Catalogo::NumeroVariante(const QString& nome)
{
    if (nome.trimmed().isEmpty())
        return 0;
    const Consulta c = Consultas::variantesDoNome(nome);
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    int n = 0;
    while (q.next()) {
        if (q.value(0).toInt() != n)
            break;
        ++n;
    }
    return n;
}

void Catalogo::LimpandoPlantoes(const QString& nome)
{
    const Consulta c = Consultas::limpaPlantoes(nome);
    m_db.exec(c.sql, c.valores);
}

void Catalogo::RenomeandoNomes(const QString& novo, const QString& antigo)
{
    const Consulta c = Consultas::renomeia(novo, antigo);
    m_db.exec(c.sql, c.valores);
}

int Catalogo::TracoUsando(qint64 codigo)
{
    const Consulta c = Consultas::produtosQueUsam(codigo);
    return m_db.scalar(c.sql, c.valores).toInt();
}

std::optional<qint64> Catalogo::CodigoDoNome(const QString& nome)
{
    const Consulta c = Consultas::codigoDoNome(nome);
    const QVariant codigo = m_db.scalar(c.sql, c.valores);
    if (codigo.isNull())
        return std::nullopt;
    return codigo.toLongLong();
}

bool Catalogo::TrocandoPlantao(const QString& nome, int variante, const QString& operacao, QList<Aviso>& avisos)
{
    LimpandoPlantoes(nome);
    const Consulta c = Consultas::linhasDoNome(nome);
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    QList<std::pair<qint64, int>> linhas; // key, variant
    QString nomeGravado = nome;
    while (q.next()) {
        linhas.append(
            {q.value(QStringLiteral("Codigo")).toLongLong(), q.value(QStringLiteral("TracoVariante")).toInt()});
        nomeGravado = q.value(QStringLiteral("NomeTraco")).toString();
    }
    if (linhas.size() >= 2) {
        // The lowest other variant takes the mark.
        for (const auto& [codigo, outra] : linhas) {
            if (outra == variante)
                continue;
            const Consulta marca = Consultas::marcaEmUso(codigo);
            m_db.exec(marca.sql, marca.valores);
            avisos.append({QStringLiteral("O novo traço ") + nomeGravado.trimmed() + QStringLiteral(" de plantao") +
                               CR + QStringLiteral("é o traço variante de número ") + calc::padded(outra, 2),
                           QStringLiteral("Novo traço de Plantão"), platform::Icone::Informacao});
            return true;
        }
    }
    for (const auto& linha : linhas) {
        const Consulta marca = Consultas::marcaEmUso(linha.first);
        m_db.exec(marca.sql, marca.valores);
    }
    avisos.append({QStringLiteral("Este traço está sendo utilizado,") + CR +
                       QStringLiteral("e o mesmo não tem traço variante.") + CR + CR +
                       (operacao == QLatin1String("Excluir") ? QStringLiteral("Portanto, não pode ser excluído.")
                                                             : QStringLiteral("Portanto, deve continuar em plantão.")),
                   QStringLiteral("Único traço em Uso"), platform::Icone::Informacao});
    return false;
}

std::optional<qint64> Catalogo::versao(qint64 codigo)
{
    const Consulta c = Consultas::estadoDaLinha(codigo, true);
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    if (!q.next() || q.value(4).isNull())
        return std::nullopt;
    return q.value(4).toLongLong();
}

Catalogo::Estado Catalogo::confere(const TracoLido& lido)
{
    const Consulta c = Consultas::estadoDaLinha(lido.codigo, lido.versao.has_value());
    QSqlQuery q = m_db.exec(c.sql, c.valores);
    if (!q.next())
        throw DbError(platform::RegistroExcluido);
    if (lido.versao && q.value(4).toLongLong() != *lido.versao)
        throw DbError(platform::RegistroAlteradoPorOutro);
    return {q.value(0).toString(), q.value(1).toInt(), q.value(2).toBool(), q.value(3).toLongLong()};
}

void Catalogo::atualizaLinha(qint64 codigo, const QVariantMap& campos)
{
    const Consulta c = Consultas::atualizaLinha(codigo, campos);
    if (m_db.execCount(c.sql, c.valores) == 0)
        throw DbError(platform::RegistroExcluido);
}

Gravacao Catalogo::insere(const TracoAGravar& traco)
{
    platform::Transaction transacao(m_db);
    const std::optional<platform::MarcaDeEscritas> antes = m_db.marcaDeEscritas();
    Gravacao g;
    QVariantMap campos = camposProprios(traco.campos);
    const std::optional<QString> existente = nomeGravado(traco.nome);
    g.nome = existente.value_or(traco.nome.trimmed());
    g.nomeNovo = !existente;
    g.variante = existente ? NumeroVariante(g.nome) : 0;
    campos.insert(QStringLiteral("NomeTraco"), g.nome);
    campos.insert(QStringLiteral("TracoVariante"), g.variante);
    if (existente) {
        if (const std::optional<qint64> codigo = CodigoDoNome(g.nome))
            campos.insert(QStringLiteral("CodigoTraco"), *codigo);
    }
    if (traco.emUso)
        LimpandoPlantoes(g.nome);
    campos.insert(QStringLiteral("Plantao"), traco.emUso);
    g.codigo = m_db.insere(QStringLiteral("Tracos"), campos);
    // The first row of a name gives the name its code: its own number.
    if (g.nomeNovo) {
        const Consulta c = Consultas::codigoProprio(g.codigo);
        m_db.exec(c.sql, c.valores);
    }
    const std::optional<platform::MarcaDeEscritas> agora = m_db.marcaDeEscritas();
    transacao.commit();
    // Another workstation may have written the name first: it enters the list either way.
    trocaNome({}, g.nome);
    acompanhaGravacao(antes, agora, Efeito::Incluido, g.codigo);
    return g;
}

Gravacao Catalogo::altera(const TracoLido& lido, const TracoAGravar& traco)
{
    platform::Transaction transacao(m_db);
    const std::optional<platform::MarcaDeEscritas> antes = m_db.marcaDeEscritas();
    const Estado atual = confere(lido);
    Gravacao g;
    g.codigo = lido.codigo;
    g.variante = atual.variante;
    g.nome = atual.nome;
    QVariantMap campos = camposProprios(traco.campos);

    const QString nome = traco.nome.trimmed();
    if (nome != atual.nome.trimmed()) {
        // A name only written otherwise ("concreto 25" for "Concreto 25") is the same name, renamed in every row.
        const std::optional<QString> outro = nomeGravado(nome);
        if (outro && platform::nomeDobrado(*outro) != platform::nomeDobrado(atual.nome))
            throw NomeJaExiste(*outro);
        RenomeandoNomes(nome, atual.nome);
        g.nome = nome;
    }

    bool emUso = false;
    if (traco.emUso) {
        LimpandoPlantoes(g.nome);
        emUso = true;
    } else if (atual.emUso && TracoUsando(atual.codigoTraco) >= 1) {
        // Products are made from this name: the mark passes to another variant, or stays when there is none.
        emUso = !TrocandoPlantao(g.nome, atual.variante, QStringLiteral("Alterar"), g.avisos);
    }
    campos.insert(QStringLiteral("Plantao"), emUso);
    atualizaLinha(lido.codigo, campos);
    const std::optional<platform::MarcaDeEscritas> agora = m_db.marcaDeEscritas();
    transacao.commit();
    trocaNome(atual.nome, g.nome);
    // A rename moves every variant of the name in the catalogue's order; any other edit leaves the order as it was.
    acompanhaGravacao(antes, agora, g.nome == atual.nome ? Efeito::OrdemMantida : Efeito::OrdemMudada, lido.codigo);
    return g;
}

bool Catalogo::preparaExclusao(const TracoLido& lido, QList<Aviso>& avisos)
{
    const Estado atual = confere(lido);
    if (atual.emUso && TracoUsando(atual.codigoTraco) != 0)
        return TrocandoPlantao(atual.nome, atual.variante, QStringLiteral("Excluir"), avisos);
    return true;
}

bool Catalogo::exclui(const TracoLido& lido, QList<Aviso>& avisos)
{
    platform::Transaction transacao(m_db);
    const std::optional<platform::MarcaDeEscritas> antes = m_db.marcaDeEscritas();
    const bool permitido = preparaExclusao(lido, avisos);
    bool ultimoDoNome = false;
    if (permitido) {
        const Consulta c = Consultas::excluiLinha(lido.codigo);
        m_db.exec(c.sql, c.valores);
        const Consulta resta = Consultas::nomeExato(lido.nome);
        ultimoDoNome = m_db.scalar(resta.sql, resta.valores).isNull();
    }
    const std::optional<platform::MarcaDeEscritas> agora = m_db.marcaDeEscritas();
    transacao.commit();
    // The name leaves the list with its last variant.
    if (ultimoDoNome)
        trocaNome(lido.nome, {});
    // The deleted mix leaves the record read; a refused delete may have moved the in-use mark, never the order.
    acompanhaGravacao(antes, agora, permitido ? Efeito::Retirado : Efeito::OrdemMantida, lido.codigo);
    return permitido;
}

} // namespace catalogue
