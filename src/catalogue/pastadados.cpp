#include "pastadados.h"

#include "camposdotraco.h"
#include "consultas.h"
#include "schema.h"
#include "tabelaprodutos.h"

#include "calc/calcstate.h"
#include "calc/carregatraco.h"
#include "calc/consistencylimits.h"
#include "calc/numericentry.h"
#include "calc/padroes.h"
#include "calc/recalculo.h"
#include "platform/clock.h"
#include "platform/database.h"
#include "platform/driverpostgres.h"
#include "platform/localdobanco.h"
#include "platform/paths.h"
#include "platform/transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>

namespace catalogue {

namespace {

constexpr int kLinhaGraudos = 1;
constexpr int kLinhaCimentos = 2;
constexpr int kLinhaAreias = 3;
constexpr int kLinhaAditivos = 5;
constexpr int kLinhaServicos = 7;
constexpr int kLinhaConcretos = 8;

// A demo mix: what a user types on the main window; the rest is computed as the program computes it.
struct MisturaDemo
{
    QString nome;
    int variante;
    bool plantao;
    int medicao; // 0 by mass, 1 and 2 by loose volume
    QString classe;
    int textura;
    int destino;
    QString abatimento;
    QString reducao;
    double umidade;
    // Batch in the mix's measure: cement, fine sand, coarse sand, coarse aggregates 1 and 2; then admixtures.
    std::array<double, 5> lote;
    std::array<double, 2> aditivos;
    QString cimento;
    QString graudo1;
    QString graudo2;
    QString aditivo1;
    QString aditivo2;
    int diasCadastro; // registered this many days ago
};

// One bag of cement (50 kg, or its 35 loose litres) per batch, with sand and gravel in customary amounts.
QList<MisturaDemo> misturasDemo()
{
    const QString c25 = QStringLiteral("Cimento 25");
    const QString c32 = QStringLiteral("Cimento 32");
    const QString ari = QStringLiteral("Cimento ARI");
    const QString pedrisco = QStringLiteral("Pedrisco");
    const QString pedra0 = QStringLiteral("Pedra 0");
    const QString pedra1 = QStringLiteral("Pedra 1");
    const QString pedra2 = QStringLiteral("Pedra 2");
    const QString plast = QStringLiteral("Aditivo Plastificante");
    const QString superp = QStringLiteral("Aditivo Superplastificante");
    const QString f15 = QStringLiteral("Concreto fck 15");
    const QString f20 = QStringLiteral("Concreto fck 20");
    const QString f25 = QStringLiteral("Concreto fck 25");
    const auto s = [](const char* texto) { return QString::fromUtf8(texto); };
    // clang-format off
    return {
        // name, variant, in use, measure, class, shape, use, slump, reduction, moisture, batch, admixtures,
        // cement, coarse 1, coarse 2, admixture 1, admixture 2, registered days ago
        {s("Concreto Magro"), 0, true, 2, s("25"), 1, 0, s("060"), s("0"), 6, {35, 60, 70, 0, 120}, {0, 0},
         c25, {}, pedra1, {}, {}, 400},
        {f15, 0, false, 2, s("32"), 1, 0, s("080"), s("0"), 6, {35, 40, 50, 40, 70}, {0, 0},
         c32, pedrisco, pedra1, {}, {}, 380},
        {f15, 1, true, 1, s("32"), 1, 0, s("080"), s("0"), 5, {35, 38, 48, 40, 72}, {0, 0},
         c32, pedrisco, pedra1, {}, {}, 200},
        {f20, 0, true, 0, s("32"), 1, 0, s("080"), s("0"), 6, {50, 35, 55, 45, 95}, {0.25, 0},
         c32, pedrisco, pedra1, plast, {}, 365},
        {f20, 1, false, 0, s("32"), 0, 0, s("100"), s("0"), 4, {50, 30, 60, 0, 140}, {0.25, 0},
         c32, {}, pedra1, plast, {}, 120},
        {f25, 0, true, 0, s("32"), 1, 0, s("080"), s("0"), 6, {50, 33, 50, 42, 85}, {0.25, 0},
         c32, pedrisco, pedra1, plast, {}, 300},
        {f25, 1, false, 0, s("32"), 2, 0, s("080"), s("0"), 6, {50, 33, 50, 0, 127}, {0.25, 0},
         c32, {}, pedra2, plast, {}, 90},
        {f25, 2, false, 0, s("32"), 1, 0, s("080"), s("0"), 6, {50, 30, 52, 44, 84}, {0.3, 0},
         c32, pedrisco, pedra1, plast, {}, 30},
        {s("Concreto Bombeado fck 30"), 0, true, 0, s("ARI"), 1, 3, s("120"), s("10"), 6, {40, 40, 45, 80, 30},
         {0.2, 0.35}, ari, pedrisco, pedra1, plast, superp, 150},
        {s("Concreto Aparente fck 30"), 0, true, 0, s("32"), 1, 2, s("090"), s("0"), 6, {50, 32, 45, 45, 75},
         {0.25, 0}, c32, pedrisco, pedra1, plast, {}, 210},
        {s("Contrapiso"), 0, true, 1, s("25"), 0, 1, s("040"), s("0"), 6, {35, 50, 70, 60, 0}, {0, 0},
         c25, pedrisco, {}, {}, {}, 500},
        {s("Traço d'Obra"), 0, false, 2, s("32"), 1, 0, s("070"), s("0"), 7, {35, 0, 105, 50, 90}, {0, 0},
         c32, pedra0, pedra1, {}, {}, 15},
    };
    // clang-format on
}

// A reference value a new company starts with, as a number; the mixes of the demo are written with them.
double padrao(int texto)
{
    return calc::readNumber(calc::Padroes::inicial().textos[std::size_t(texto)]);
}

QVariantMap entradaDaMistura(const MisturaDemo& m)
{
    return {
        {QStringLiteral("NomeTraco"), m.nome},
        {QStringLiteral("TracoVariante"), m.variante},
        {QStringLiteral("Volumetrico"), m.medicao},
        {QStringLiteral("Dosagem"), m.medicao},
        {QStringLiteral("Classe"), m.classe},
        {QStringLiteral("Textura"), m.textura},
        {QStringLiteral("Destino"), m.destino},
        {QStringLiteral("Fator"), m.abatimento},
        {QStringLiteral("ReducaoAgua"), m.reducao},
        {QStringLiteral("EspeCim"), padrao(0)},
        {QStringLiteral("AparCim"), padrao(1)},
        {QStringLiteral("EspeMiu"), padrao(2)},
        {QStringLiteral("AparMiu"), padrao(3)},
        {QStringLiteral("EspeGra"), padrao(4)},
        {QStringLiteral("AparGra"), padrao(5)},
        {QStringLiteral("Umidade"), m.umidade},
        {QStringLiteral("TracoCimento"), m.lote[0]},
        {QStringLiteral("TracoAreiaFina"), m.lote[1]},
        {QStringLiteral("TracoAreiaGrossa"), m.lote[2]},
        {QStringLiteral("TracoGraudoQde1"), m.lote[3]},
        {QStringLiteral("TracoGraudoQde2"), m.lote[4]},
        {QStringLiteral("TracoAditivoQde1"), m.aditivos[0]},
        {QStringLiteral("TracoAditivoQde2"), m.aditivos[1]},
        {QStringLiteral("MaodeObra"), padrao(calc::Padroes::MaoDeObra)},
        {QStringLiteral("Perda"), padrao(calc::Padroes::Perda)},
        {QStringLiteral("NomeCimento"), m.cimento},
        {QStringLiteral("NomeGraudo1"), m.graudo1},
        {QStringLiteral("NomeGraudo2"), m.graudo2},
        {QStringLiteral("NomeAditivo1"), m.aditivo1},
        {QStringLiteral("NomeAditivo2"), m.aditivo2},
    };
}

QString data(const QDate& dia)
{
    return dia.toString(QStringLiteral("dd-MM-yyyy"));
}

void gravaTracosDemonstracao(platform::Database& db)
{
    const TabelaProdutos produtos(db);
    const QDate hoje = platform::Clock::hoje();
    const QString cotacao = data(hoje.addDays(-7));
    QMap<QString, qint64> codigos;

    for (const MisturaDemo& m : misturasDemo()) {
        calc::CalcState estado;
        calc::CarregaTraco(estado, entradaDaMistura(m), &produtos);
        calc::ReCalculo(estado, &produtos);
        QVariantMap linha = CamposDoTraco(estado, produtos);
        linha.insert(QStringLiteral("NomeTraco"), m.nome);
        linha.insert(QStringLiteral("TracoVariante"), m.variante);
        linha.insert(QStringLiteral("Plantao"), m.plantao);
        linha.insert(QStringLiteral("Atualizado"), false);
        linha.insert(QStringLiteral("DataCadastro"), data(hoje.addDays(-m.diasCadastro)));
        linha.insert(QStringLiteral("DataCotacao"), cotacao);

        const qint64 codigo = db.insere(QStringLiteral("Tracos"), linha);
        // The first row of a name gives the name its code; later variants share it.
        if (!codigos.contains(m.nome))
            codigos.insert(m.nome, codigo);
        db.exec(QStringLiteral("UPDATE Tracos SET CodigoTraco = ? WHERE Codigo = ?"), {codigos.value(m.nome), codigo});
    }

    // Ready-mixed concrete sold by the company is made from two of the mixes: those names keep a mix in use.
    const QList<std::pair<QString, QString>> vendidos{
        {QStringLiteral("Concreto Usinado fck 20"), QStringLiteral("Concreto fck 20")},
        {QStringLiteral("Concreto Usinado fck 25"), QStringLiteral("Concreto fck 25")},
    };
    const qint64 metroCubico =
        db.scalar(QStringLiteral("SELECT CodigoUnidade FROM Unidades WHERE NomeUnidade = 'm3'")).toLongLong();
    for (const auto& [produto, traco] : vendidos) {
        db.insere(QStringLiteral("Produtos"),
                  {{QStringLiteral("NomeProduto"), produto},
                   {QStringLiteral("CodigoLinha"), kLinhaConcretos},
                   {QStringLiteral("Unidade"), metroCubico},
                   {QStringLiteral("Peso"), 2400.0},
                   {QStringLiteral("PrecoCustoComPerda"), QVariant()},
                   {QStringLiteral("DataPrecoCusto"), hoje.addDays(-7).toString(Qt::ISODate)},
                   {QStringLiteral("CodigoTraco"), codigos.value(traco)}});
    }
}

// The demo company's logo, printed in the corner of the mix sheet and of the reports.
bool gravaLogotipo(const QString& arquivo)
{
    QImage logo(600, 180, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x4f, 0x6f));
    p.drawRoundedRect(QRectF(10, 10, 160, 160), 24, 24);
    p.setBrush(QColor(0xe0, 0x8a, 0x1e));
    p.drawEllipse(QPointF(90, 90), 56, 56);
    p.setBrush(QColor(0xb8, 0xb3, 0xa8));
    for (int i = 0; i < 9; ++i)
        p.drawEllipse(QPointF(58 + (i % 3) * 32, 58 + (i / 3) * 32), 10, 9);
    // Text needs the fonts of a graphical application; without one the logo is the picture alone.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        p.setPen(QColor(0x2f, 0x4f, 0x6f));
        QFont fonte(QStringLiteral("Sans Serif"), 40, QFont::Bold);
        p.setFont(fonte);
        p.drawText(QRectF(190, 20, 400, 80), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Concreteira"));
        fonte.setPointSize(30);
        fonte.setBold(false);
        p.setFont(fonte);
        p.drawText(QRectF(190, 95, 400, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Modelo Ltda."));
    }
    p.end();
    // Written whole or not at all: a full disk leaves no cut picture behind.
    QSaveFile arquivoDoLogo(arquivo);
    return arquivoDoLogo.open(QIODevice::WriteOnly) && logo.save(&arquivoDoLogo, "BMP") && arquivoDoLogo.commit();
}

} // namespace

PastaDados::Resultado PastaDados::cria(const QString& pasta, bool demo, const QString& servidor)
{
    if (pasta.trimmed().isEmpty())
        return {false, QStringLiteral("Informe a pasta de dados a criar.")};
    const QString raiz = platform::Paths::comSeparador(pasta);
    const QString dados = raiz + QStringLiteral("Dados/");
    const QString banco = dados + QStringLiteral("empresa.mdb");
    const QString ini = platform::LocalDoBanco::arquivoDoServidor(raiz);
    if (QFileInfo::exists(ini))
        return {false, QStringLiteral("A pasta %1 já usa um servidor (%2); nada foi alterado.").arg(raiz, ini)};
    if (servidor.isEmpty() && QFileInfo::exists(banco))
        return {false, QStringLiteral("Já existe um banco de dados em %1; nada foi alterado.").arg(banco)};
    const QString imagens = raiz + QStringLiteral("Imagens/");
    const QString logotipo = imagens + QStringLiteral("logo.bmp");

    // What this run creates, so that a failure takes it away again and leaves the disk as it was.
    QStringList pastasCriadas;
    for (const QString& p : {raiz, dados, imagens}) {
        if (!QFileInfo::exists(p))
            pastasCriadas.prepend(p);
    }
    const bool logotipoExistia = QFileInfo::exists(logotipo);
    const auto desfaz = [&](const QString& mensagem) {
        QFile::remove(banco + QStringLiteral(".novo"));
        if (!logotipoExistia && QFileInfo(logotipo).isFile())
            QFile::remove(logotipo);
        for (const QString& p : std::as_const(pastasCriadas))
            QDir().rmdir(p); // only when empty: nothing of anyone else's goes
        return Resultado{false, mensagem};
    };
    if (!QDir().mkpath(dados) || !QDir().mkpath(imagens))
        return desfaz(QStringLiteral("Não foi possível criar a pasta %1.").arg(dados));

    // On a file, the database is built under another name and takes its own only when complete; on a server, in
    // one transaction. Either way a failure half-way leaves no database that the program would open.
    const QString provisorio = banco + QStringLiteral(".novo");
    const platform::LocalDoBanco local =
        servidor.isEmpty() ? platform::LocalDoBanco::arquivo(provisorio) : platform::LocalDoBanco::servidor(servidor);
    if (!servidor.isEmpty() && platform::DriverPostgres::opcoesDeConexao(servidor).isEmpty())
        return desfaz(QStringLiteral("Conexão com o servidor inválida: %1").arg(local.descricao()));
    QFile::remove(provisorio);
    try {
        platform::Database db(QStringLiteral("criar-dados-%1").arg(quintptr(&raiz)));
        db.create(local);
        {
            platform::Transaction transacao(db);
            Schema::atualiza(db);
            gravaReferencias(db, demo ? QStringLiteral("Concreteira Modelo Ltda.") : QStringLiteral("Empresa"));
            if (demo)
                gravaDemonstracao(db);
            transacao.commit();
        }
        db.close();
    } catch (const platform::DbError& erro) {
        if (erro.numero() == platform::BancoJaExiste && local.ehServidor())
            return desfaz(QStringLiteral("O servidor %1 já tem tabelas; nada foi alterado.").arg(local.descricao()));
        return desfaz(
            QStringLiteral("Não foi possível criar o banco de dados (erro %1: %2%3).")
                .arg(erro.numero())
                .arg(erro.descricao(), erro.detalhe().isEmpty() ? QString() : QStringLiteral(" — ") + erro.detalhe()));
    }
    // The logo before the database takes its name: a folder with a database is a complete folder.
    if (demo && !gravaLogotipo(logotipo))
        return desfaz(
            QStringLiteral("Não foi possível gravar o logotipo %1 (disco cheio ou pasta protegida?).").arg(logotipo));
    if (local.ehServidor()) {
        if (!platform::LocalDoBanco::gravaServidor(raiz, servidor))
            return {
                false,
                QStringLiteral("O banco de dados foi criado no servidor, mas não foi possível gravar %1.").arg(ini)};
    } else if (!QFile::rename(provisorio, banco)) {
        return desfaz(QStringLiteral("Não foi possível gravar %1.").arg(banco));
    }
    return {true, {}};
}

bool PastaDados::temCatalogo(const QString& pasta)
{
    const QString raiz = platform::Paths::comSeparador(pasta);
    return QFileInfo::exists(raiz + QStringLiteral("Dados/empresa.mdb")) ||
           QFileInfo::exists(platform::LocalDoBanco::arquivoDoServidor(raiz));
}

PastaDados::Resultado PastaDados::prepara(const Escolha& escolha)
{
    if (escolha.pasta.trimmed().isEmpty())
        return {false, QStringLiteral("Informe a pasta de dados.")};
    const QString raiz = platform::Paths::comSeparador(escolha.pasta);
    switch (escolha.tipo) {
    case Escolha::Tipo::Nova:
        return cria(raiz, escolha.demo);
    case Escolha::Tipo::Existente:
        if (temCatalogo(raiz))
            return {true, {}};
        return {false, QStringLiteral("A pasta %1 não tem um catálogo do Quenvar (não há Dados/empresa.mdb nem "
                                      "Dados/servidor.ini).")
                           .arg(QDir::toNativeSeparators(raiz))};
    case Escolha::Tipo::Servidor:
        break;
    }
    if (escolha.conexao.trimmed().isEmpty())
        return {false, QStringLiteral("Informe a conexão com o servidor (por exemplo: host=servidor dbname=quenvar "
                                      "user=usuario).")};
    if (temCatalogo(raiz))
        return {false, QStringLiteral("A pasta %1 já tem um catálogo; escolha uma pasta vazia para a conexão.")
                           .arg(QDir::toNativeSeparators(raiz))};
    bool temCatalogo = false;
    try {
        platform::Database db(QStringLiteral("conecta-%1").arg(quintptr(&escolha)));
        db.open(platform::LocalDoBanco::servidor(escolha.conexao));
        temCatalogo = db.ehTabela(QStringLiteral("Tracos"));
        db.close();
    } catch (const platform::DbError& erro) {
        return {false, QStringLiteral("Não foi possível conectar ao servidor (erro %1: %2%3).")
                           .arg(erro.numero())
                           .arg(erro.descricao(),
                                erro.detalhe().isEmpty() ? QString() : QStringLiteral(" — ") + erro.detalhe())};
    }
    if (!temCatalogo)
        return cria(raiz, false, escolha.conexao);
    const QString dados = raiz + QStringLiteral("Dados");
    const bool raizExistia = QFileInfo::exists(raiz);
    const bool dadosExistia = QFileInfo::exists(dados);
    if (!QDir().mkpath(dados) || !platform::LocalDoBanco::gravaServidor(raiz, escolha.conexao)) {
        // Only the folders made here, and only when empty.
        if (!dadosExistia)
            QDir().rmdir(dados);
        if (!raizExistia)
            QDir().rmdir(raiz);
        return {false, QStringLiteral("Não foi possível gravar %1.")
                           .arg(QDir::toNativeSeparators(platform::LocalDoBanco::arquivoDoServidor(raiz)))};
    }
    return {true, {}};
}

void PastaDados::gravaReferencias(platform::Database& db, const QString& nomeEmpresa)
{
    db.insere(QStringLiteral("DadosEmpresa"),
              {{QStringLiteral("Nome"), nomeEmpresa}, {QStringLiteral("Morto"), false}});
    const calc::Padroes& padroes = calc::Padroes::inicial();
    QVariantMap massas{{QLatin1String(CamposDasMassas::classe), padroes.classe},
                       {QLatin1String(CamposDasMassas::forma), padroes.opcaoForma},
                       {QLatin1String(CamposDasMassas::textura), padroes.opcaoTextura},
                       {QLatin1String(CamposDasMassas::tipo), padroes.tipoConcreto}};
    for (int i = 0; i < calc::Padroes::NumeroDeTextos; ++i)
        massas.insert(QLatin1String(CamposDasMassas::textos()[i]), padroes.textos[i]);
    db.insere(QStringLiteral("Massas"), massas);
    const std::array<QString, 4> limites = calc::ConsistencyLimits{}.texts();
    db.insere(QStringLiteral("Consistencias"), {{QStringLiteral("Abate1"), limites[0]},
                                                {QStringLiteral("Abate2"), limites[1]},
                                                {QStringLiteral("Abate3"), limites[2]},
                                                {QStringLiteral("Abate4"), limites[3]}});
}

void PastaDados::gravaDemonstracao(platform::Database& db)
{
    QMap<QString, qint64> unidade;
    for (const char* nome : {"litro", "l", "kg", "m3", "ton", "saco", "hora"})
        unidade.insert(QLatin1String(nome),
                       db.insere(QStringLiteral("Unidades"), {{QStringLiteral("NomeUnidade"), QLatin1String(nome)}}));

    struct Produto
    {
        const char* nome;
        int linha;
        const char* unidade;
        double peso;
        double preco;
    };
    const Produto lista[] = {
        {"Cimento 25", kLinhaCimentos, "saco", 50, 34.90},
        {"Cimento 32", kLinhaCimentos, "saco", 50, 37.50},
        {"Cimento 40", kLinhaCimentos, "saco", 50, 41.20},
        {"Cimento ARI", kLinhaCimentos, "saco", 40, 39.80},
        {"Areia Fina", kLinhaAreias, "m3", 1200, 110.00},
        {"Areia Grossa", kLinhaAreias, "m3", 1200, 95.00},
        {"Pedrisco", kLinhaGraudos, "m3", 1380, 105.00},
        {"Pedra 0", kLinhaGraudos, "m3", 1380, 102.00},
        {"Pedra 1", kLinhaGraudos, "ton", 1000, 78.00},
        {"Pedra 2", kLinhaGraudos, "m3", 1380, 98.00},
        {"Aditivo Plastificante", kLinhaAditivos, "litro", 1.2, 9.80},
        {"Aditivo Superplastificante", kLinhaAditivos, "litro", 1.1, 24.50},
        {"Mão-de-Obra", kLinhaServicos, "hora", 0, 14.50},
    };
    const QString dataPreco = platform::Clock::hoje().addDays(-7).toString(Qt::ISODate);
    for (const Produto& p : lista) {
        db.insere(QStringLiteral("Produtos"), {{QStringLiteral("NomeProduto"), QString::fromUtf8(p.nome)},
                                               {QStringLiteral("CodigoLinha"), p.linha},
                                               {QStringLiteral("Unidade"), unidade.value(QLatin1String(p.unidade))},
                                               {QStringLiteral("Peso"), p.peso},
                                               {QStringLiteral("PrecoCustoComPerda"), p.preco},
                                               {QStringLiteral("DataPrecoCusto"), dataPreco},
                                               {QStringLiteral("CodigoTraco"), 0}});
    }
    gravaTracosDemonstracao(db);
}

} // namespace catalogue
