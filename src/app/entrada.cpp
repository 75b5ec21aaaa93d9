#include "entrada.h"

#include "pastadedados.h"
#include "sobre.h"
#include "traco.h"

#include "catalogue/consultas.h"
#include "desktop/dialogs.h"
#include "platform/aplicacao.h"
#include "platform/database.h"
#include "platform/errorlog.h"
#include "platform/localdobanco.h"
#include "platform/paths.h"
#include "settings/formcons.h"
#include "settings/formmass.h"
#include "widgets/desenhos.h"
#include "wizard/mago.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace app {

namespace {

using desktop::Dialogs;

const QChar CR = QLatin1Char('\r');

void mensagemDeErro(const QString& texto, const QString& titulo)
{
    Dialogs::aviso(texto, titulo, Dialogs::Icone::Critico);
}

// A repair that lost the company's row would leave a folder the program cannot start from: the row comes back,
// without the name, and the user is told. A company table emptied by hand is not the repair's to fill.
bool recriaDadosEmpresa(platform::Database& db, const platform::RelatorioDeReparo& reparo)
{
    const platform::RelatorioDeReparo::Tabela* empresa = reparo.tabela(QStringLiteral("DadosEmpresa"));
    if (!reparo.reparado() || !empresa || !empresa->houvePerda() || empresa->mantidas > 0)
        return false;
    db.exec(QStringLiteral("INSERT INTO DadosEmpresa(Nome, Morto) VALUES(?, ?)"), {QString(), false});
    return true;
}

void avisaPerdas(const QString& banco, const platform::RelatorioDeReparo& reparo, bool empresaRecriada)
{
    QString texto = QStringLiteral("O arquivo ") + QFileInfo(banco).fileName() +
                    QStringLiteral(" estava danificado e foi reparado.") + CR +
                    QStringLiteral("Alguns registros não puderam ser recuperados:") + CR + CR +
                    reparo.perdas().join(CR);
    if (empresaRecriada)
        texto += QString(CR) + CR + QStringLiteral("Os dados da empresa foram recriados sem o nome da empresa.");
    texto += QString(CR) + CR + QStringLiteral("A cópia danificada foi guardada em:") + CR +
             QDir::toNativeSeparators(reparo.copiaDanificada);
    Dialogs::aviso(texto, QStringLiteral("Banco de dados reparado"), Dialogs::Icone::Exclamacao);
}

void avisaSomenteLeitura(const QString& banco)
{
    const QFileInfo arquivo(banco);
    const QString pasta = arquivo.absolutePath();
    const QString protegido = QFileInfo(pasta).isWritable()
                                  ? QStringLiteral("O arquivo ") + QDir::toNativeSeparators(banco) +
                                        QStringLiteral(" está protegido contra gravação.")
                                  : QStringLiteral("A pasta de dados ") + QDir::toNativeSeparators(pasta) +
                                        QStringLiteral(" está protegida contra gravação.");
    Dialogs::aviso(protegido + CR +
                       QStringLiteral("O Quenvar será aberto somente para consulta: não será possível incluir, "
                                      "alterar ou excluir traços."),
                   QStringLiteral("Somente leitura"), Dialogs::Icone::Exclamacao);
}

} // namespace

Formularios::Formularios() = default;

Formularios::~Formularios()
{
    descarrega();
}

void Formularios::descarrega()
{
    mago.reset();
    formCons.reset();
    formMass.reset();
    sobre.reset();
    traco.reset();
}

Entrada::Entrada(Formularios& formularios, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen), m_selo(new QLabel(this)), m_nomeProg(new QLabel(this)),
      m_empresa(new QLabel(this)), m_formularios(formularios)
{
    setObjectName(QStringLiteral("Entrada"));
    setWindowTitle(platform::Aplicacao::titulo());
    m_selo->setObjectName(QStringLiteral("Selo"));
    m_nomeProg->setObjectName(QStringLiteral("NomeProg"));
    m_empresa->setObjectName(QStringLiteral("Empresa"));

    QFont titulo = font();
    titulo.setPointSize(30);
    titulo.setBold(true);
    m_nomeProg->setFont(titulo);
    m_nomeProg->setStyleSheet(QStringLiteral("color: white;"));
    QFont empresa = font();
    empresa.setPointSize(12);
    m_empresa->setFont(empresa);
    m_empresa->setStyleSheet(QStringLiteral("color: #f4f1e8;"));

    m_timer1.setSingleShot(false);
    connect(&m_timer1, &QTimer::timeout, this, &Entrada::tiqueTimer);
}

Entrada::~Entrada() = default;

int Entrada::AbrindoBanco(const QString& caminho)
{
    return platform::Database::AbrindoBanco(caminho);
}

bool Entrada::inicia()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_nomeProg->setText(platform::Aplicacao::titulo());

    // The seal fills the form, which takes its size.
    const QPixmap selo = desenhaSelo();
    m_selo->setPixmap(selo);
    m_selo->setGeometry(0, 0, selo.width(), selo.height());
    setFixedSize(selo.size());
    m_nomeProg->setGeometry(28, 36, selo.width() - 56, 56);
    m_empresa->setGeometry(28, selo.height() - 52, selo.width() - 56, 28);

    // Without a Caminho.dad anywhere, the user is offered to make or choose the data folder.
    std::optional<platform::CaminhoDad::Achado> caminho = platform::CaminhoDad::procura();
    if (!caminho) {
        QApplication::restoreOverrideCursor();
        caminho = escolhePrimeiraPasta();
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    if (!caminho) {
        Dialogs::aviso(QStringLiteral("Sumiu o arquivo path da rede"), QStringLiteral("Arquivo não encontrado"),
                       Dialogs::Icone::Exclamacao);
        QApplication::restoreOverrideCursor();
        return false;
    }

    try {
        platform::Paths::definePastaDados(caminho->pastaDados);
        const platform::LocalDoBanco local = platform::Paths::localDoBanco();
        const QString banco = local.descricao();
        QDir::setCurrent(platform::Paths::pastaDados() + QStringLiteral("Dados/"));
        platform::RelatorioDeReparo reparo;
        // A server is not checked apart: opening it is the check, and an unreachable one ends below.
        const int erro = local.ehServidor() ? 0 : platform::Database::AbrindoBanco(local, reparo);
        if (erro == platform::BancoDanificado && reparo.resultado == platform::RelatorioDeReparo::Resultado::EmUso) {
            mensagemDeErro(QStringLiteral("O banco de dados está danificado, mas está aberto em outra estação.") + CR +
                               QStringLiteral("Feche o Quenvar nas outras estações e abra-o de novo para repará-lo."),
                           QStringLiteral("Banco de dados em uso"));
            QApplication::restoreOverrideCursor();
            return false;
        }
        if (erro == platform::BancoDanificado) {
            mensagemDeErro(QStringLiteral("Arquivo de banco de dados empresa.mdb corrompido") + CR +
                               QStringLiteral("ou não é .mdb. Solicite ajuda do Adm. de Sistema"),
                           QStringLiteral("Arquivo corrompido ou com defeitos"));
            QApplication::restoreOverrideCursor();
            return false;
        }
        if (erro != 0) {
            mensagemDeErro(QStringLiteral("Solicite ajuda do Adm. de Sistema") + CR +
                               QStringLiteral("Banco de dados não encontrado") + CR +
                               QStringLiteral("ou com formato .mdb impróprio!"),
                           QStringLiteral("Arquivo não existe ou impróprio"));
            QApplication::restoreOverrideCursor();
            return false;
        }

        // A data folder the user may not write is still worth reading: the program opens for browsing only.
        const bool somenteLeitura = !platform::Database::permiteGravar(local);
        platform::Database& db = platform::Database::shared();
        db.open(local, somenteLeitura ? platform::Database::Acesso::SomenteLeitura
                                      : platform::Database::Acesso::LeituraEGravacao);
        const bool empresaRecriada = recriaDadosEmpresa(db, reparo);
        if (reparo.houvePerda())
            avisaPerdas(banco, reparo, empresaRecriada);
        if (somenteLeitura)
            avisaSomenteLeitura(banco);

        QSqlQuery empresa = db.exec(catalogue::Consultas::nomeDaEmpresa(db).sql);
        if (!empresa.next())
            throw platform::DbError(platform::SemRegistroCorrente);
        m_nomeEmpresa = empresa.value(0).toString().trimmed();
        m_empresa->setText(m_nomeEmpresa);

        show();
        repaint();

        carregaFormularios();
        m_timer1.start(1);
        return true;
    } catch (const platform::DbError& erro) {
        // The server's own words (host unknown, connection refused, password refused) are for the administrator.
        platform::RegistraErro(QStringLiteral("Entrada"), erro.numero(),
                               erro.detalhe().isEmpty() ? erro.descricao()
                                                        : erro.descricao() + QStringLiteral(": ") + erro.detalhe());
        return naoAbriu();
    } catch (...) {
        return naoAbriu();
    }
}

bool Entrada::naoAbriu()
{
    // An unreachable server, a missing company table or a main window that failed to load: the program cannot go
    // on. Nothing of what was loaded stays.
    mensagemDeErro(QStringLiteral("Servidor não encontrado ou desligado."), QStringLiteral("Erro ao ler arquivo Ini"));
    m_formularios.descarrega();
    platform::Database::shared().close();
    hide();
    QApplication::restoreOverrideCursor();
    return false;
}

void Entrada::carregaFormularios()
{
    platform::Database& banco = platform::Database::shared();
    m_formularios.traco = std::make_unique<Traco>(banco);
    m_formularios.sobre = std::make_unique<Sobre>(m_nomeEmpresa);
    m_formularios.formMass = std::make_unique<settings::FormMass>(banco);
    m_formularios.formCons = std::make_unique<settings::FormCons>(banco);
    m_formularios.mago = std::make_unique<wizard::Mago>(banco);
    m_formularios.traco->defineEmpresa(m_nomeEmpresa);
    m_formularios.traco->defineFormularios(m_formularios.formMass.get(), m_formularios.formCons.get(),
                                           m_formularios.mago.get(), m_formularios.sobre.get());
}

void Entrada::tiqueTimer()
{
    if (!m_formularios.traco)
        return;
    if (m_formularios.traco->falhou()) {
        // The main window could not set itself up and has told the user why: the program ends.
        m_timer1.stop();
        hide();
        QApplication::exit(1);
        return;
    }
    if (!m_formularios.traco->pronto())
        return;
    m_timer1.stop();
    hide();
    m_formularios.traco->show();
    emit entregue();
}

QPixmap Entrada::desenhaSelo() const
{
    QPixmap selo(440, 250);
    selo.fill(Qt::transparent);
    QPainter p(&selo);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fundo(0, 0, 0, selo.height());
    fundo.setColorAt(0, QColor(0x3b, 0x55, 0x6d));
    fundo.setColorAt(1, QColor(0x1e, 0x2c, 0x3a));
    p.fillRect(selo.rect(), fundo);

    // A drum of a concrete mixer, drawn in the corner, and a band of aggregate along the bottom.
    p.setPen(QPen(QColor(0xd9, 0xa4, 0x41), 6));
    p.setBrush(QColor(0xb8, 0xb3, 0xa8));
    p.save();
    p.translate(340, 120);
    p.rotate(-20);
    p.drawPath(widgets::Desenhos::tambor(2.6));
    p.setPen(QPen(QColor(0x8c, 0x87, 0x7d), 3));
    for (int x = -40; x <= 20; x += 20)
        p.drawLine(x, -34 + (x + 60) / 10, x + 14, 34 - (x + 60) / 10);
    p.restore();

    p.setPen(Qt::NoPen);
    for (int i = 0; i < 44; ++i) {
        const int x = (i * 53) % selo.width();
        const int r = 4 + (i * 7) % 6;
        p.setBrush(QColor(0x9a + (i * 13) % 40, 0x94 + (i * 11) % 40, 0x88 + (i * 5) % 40));
        p.drawEllipse(QPoint(x, selo.height() - 70 + (i * 17) % 12), r, r - 1);
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.drawLine(28, 100, selo.width() - 28, 100);
    return selo;
}

} // namespace app
