#include "sobre.h"

#include "platform/ajuda.h"
#include "platform/aplicacao.h"
#include "platform/som.h"
#include "widgets/desenhos.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QToolButton>
#include <QWindow>

namespace app {

namespace {

// The program's colours: the steel blue of the start-up seal, the orange of the mixer, the grey of concrete.
const QColor kAzulClaro(0x3b, 0x55, 0x6d);
const QColor kAzulEscuro(0x1e, 0x2c, 0x3a);
const QColor kLaranja(0xe0, 0x8a, 0x1e);
const QColor kLaranjaEscuro(0x9c, 0x4f, 0x0c);
const QColor kOuro(0xd9, 0xa4, 0x41);
const QColor kConcreto(0xb8, 0xb3, 0xa8);
const QColor kAco(0xc9, 0xd3, 0xdc);

constexpr int kLargura = 480;
constexpr int kAltura = 300;
constexpr int kTopoDaFaixa = 232;

// A round picture button: a ring in the mixer's gold with a help mark or a cross.
QPixmap desenhaBotao(bool ajuda, int lado)
{
    QPixmap figura(lado, lado);
    figura.fill(Qt::transparent);
    QPainter p(&figura);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF aro(1.5, 1.5, lado - 3.0, lado - 3.0);
    p.setPen(QPen(kOuro, 1.6));
    p.setBrush(QColor(255, 255, 255, 28));
    p.drawEllipse(aro);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    if (ajuda) {
        QFont fonte;
        fonte.setBold(true);
        fonte.setPixelSize(lado * 6 / 10);
        p.setFont(fonte);
        p.drawText(aro, Qt::AlignCenter, QStringLiteral("?"));
    } else {
        const qreal m = lado * 0.34;
        p.drawLine(QPointF(m, m), QPointF(lado - m, lado - m));
        p.drawLine(QPointF(lado - m, m), QPointF(m, lado - m));
    }
    return figura;
}

QLabel* rotulo(QWidget* pai, const QString& nome, const QRect& lugar, int pontos, bool negrito, const QColor& cor)
{
    auto* r = new QLabel(pai);
    r->setObjectName(nome);
    r->setGeometry(lugar);
    QFont fonte = r->font();
    fonte.setPointSizeF(pontos);
    fonte.setBold(negrito);
    r->setFont(fonte);
    QPalette paleta = r->palette();
    paleta.setColor(QPalette::WindowText, cor);
    r->setPalette(paleta);
    r->setAttribute(Qt::WA_TranslucentBackground);
    return r;
}

} // namespace

Sobre::Sobre(const QString& empresa, QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Sobre"));
    setWindowTitle(QStringLiteral("Sobre o Módulo de ") + platform::Aplicacao::titulo());

    // The picture is the whole face; the window takes its size.
    const QPixmap figura = desenhaImagem();
    Imagem = new QLabel(this);
    Imagem->setObjectName(QStringLiteral("Imagem"));
    Imagem->setPixmap(figura);
    Imagem->setGeometry(0, 0, figura.width(), figura.height());
    setFixedSize(figura.size());

    VerNomeProduto = rotulo(this, QStringLiteral("VerNomeProduto"), QRect(28, 30, 280, 56), 30, true, Qt::white);
    VerNomeProduto->setText(nomeProduto());
    VerDescricao =
        rotulo(this, QStringLiteral("VerDescricao"), QRect(28, 104, 262, 58), 10, false, QColor(0xe6, 0xec, 0xf1));
    VerDescricao->setWordWrap(true);
    VerDescricao->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    VerDescricao->setText(descricao());
    VerVersao = rotulo(this, QStringLiteral("VerVersao"), QRect(92, 172, 170, 24), 10, true, QColor(0xf3, 0xc6, 0x72));
    VerVersao->setText(versaoDoPrograma());
    NomeEmpresa =
        rotulo(this, QStringLiteral("NomeEmpresa"), QRect(28, kTopoDaFaixa + 18, 290, 34), 12, true, kAzulEscuro);
    NomeEmpresa->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long company name is cut with an ellipsis; the whole name shows on the tool tip.
    NomeEmpresa->setText(QFontMetrics(NomeEmpresa->font()).elidedText(empresa, Qt::ElideRight, NomeEmpresa->width()));
    NomeEmpresa->setToolTip(empresa);

    const std::array<const char*, 2> dicas{"Ajuda sobre o Sistema", "Fechar"};
    for (int i = 0; i < 2; ++i) {
        Botao[i] = new QToolButton(this);
        Botao[i]->setObjectName(QStringLiteral("Botao%1").arg(i));
        Botao[i]->setIcon(QIcon(desenhaBotao(i == 0, 28)));
        Botao[i]->setIconSize(QSize(28, 28));
        Botao[i]->setGeometry(kLargura - 78 + i * 36, 10, 32, 32);
        Botao[i]->setAutoRaise(true);
        Botao[i]->setCursor(Qt::PointingHandCursor);
        Botao[i]->setToolTip(QString::fromUtf8(dicas[i]));
        Botao[i]->setStyleSheet(QStringLiteral("QToolButton { border: none; background: transparent; }"
                                               "QToolButton:hover { background: rgba(255, 255, 255, 40);"
                                               " border-radius: 16px; }"));
        connect(Botao[i], &QToolButton::pressed, this, [] { platform::TocaSom(platform::Som::MouseClica); });
    }
    Botao[0]->setWhatsThis(QStringLiteral("Abre a ajuda sobre o Sistema."));
    Botao[1]->setWhatsThis(QStringLiteral("Fecha esta janela."));
    connect(Botao[0], &QToolButton::clicked, this, [this] { platform::Ajuda::MostraAjuda(this, TopicoDeAjuda); });
    connect(Botao[1], &QToolButton::clicked, this, &QDialog::reject);

    VerNomeProduto->setWhatsThis(QStringLiteral("O nome do programa."));
    VerVersao->setWhatsThis(QStringLiteral("A versão do programa: maior, menor e revisão."));
    VerDescricao->setWhatsThis(QStringLiteral("O que o programa faz."));
    NomeEmpresa->setWhatsThis(QStringLiteral("A empresa dona dos dados abertos."));

    // The window has no caption bar: it is moved by its face and its texts.
    for (QWidget* w :
         {static_cast<QWidget*>(Imagem), static_cast<QWidget*>(VerNomeProduto), static_cast<QWidget*>(VerVersao),
          static_cast<QWidget*>(VerDescricao), static_cast<QWidget*>(NomeEmpresa)})
        w->installEventFilter(this);
}

QString Sobre::textoVersao(int maior, int menor, int revisao)
{
    return QString::number(maior) + QLatin1Char('.') + (QStringLiteral("00") + QString::number(menor)).right(2) +
           QLatin1Char('.') + (QStringLiteral("00") + QString::number(revisao)).right(4);
}

QString Sobre::versaoDoPrograma()
{
    return textoVersao(QUENVAR_VERSAO_MAIOR, QUENVAR_VERSAO_MENOR, QUENVAR_VERSAO_REVISAO);
}

QString Sobre::nomeProduto()
{
    return platform::Aplicacao::titulo();
}

QString Sobre::descricao()
{
    return QStringLiteral("Dosagem, custo e cadastro de traços de concreto");
}

bool Sobre::eventFilter(QObject* objeto, QEvent* evento)
{
    switch (evento->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(evento);
        if (e->button() != Qt::LeftButton)
            break;
        // The window system moves the window when it can; otherwise the window follows the pointer itself.
        if (QWindow* janela = windowHandle(); janela && janela->startSystemMove())
            return true;
        m_arrastando = true;
        m_pega = e->globalPosition().toPoint() - frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(evento);
        if (!m_arrastando || !(e->buttons() & Qt::LeftButton))
            break;
        move(e->globalPosition().toPoint() - m_pega);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (m_arrastando && static_cast<QMouseEvent*>(evento)->button() == Qt::LeftButton) {
            m_arrastando = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(objeto, evento);
}

QPixmap Sobre::desenhaImagem()
{
    QPixmap figura(kLargura, kAltura);
    figura.fill(kAzulEscuro);
    QPainter p(&figura);
    p.setRenderHint(QPainter::Antialiasing);

    // Night-blue sky with a soft light behind the mixer.
    QLinearGradient ceu(0, 0, 0, kTopoDaFaixa);
    ceu.setColorAt(0, kAzulClaro);
    ceu.setColorAt(1, kAzulEscuro);
    p.fillRect(QRect(0, 0, kLargura, kTopoDaFaixa), ceu);
    QRadialGradient brilho(QPointF(362, 120), 170);
    brilho.setColorAt(0, QColor(255, 255, 255, 46));
    brilho.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRect(0, 0, kLargura, kTopoDaFaixa), brilho);

    // The gold rule under the program's name and the caption of the version.
    p.setPen(QPen(kOuro, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(30, 94), QPointF(250, 94));
    QFont legenda;
    legenda.setPointSizeF(10);
    p.setFont(legenda);
    p.setPen(kAco);
    p.drawText(QRect(28, 172, 64, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Versão"));

    // A band of concrete along the bottom, with the aggregate showing on the right.
    QLinearGradient faixa(0, kTopoDaFaixa, 0, kAltura);
    faixa.setColorAt(0, QColor(0xd3, 0xce, 0xc3));
    faixa.setColorAt(1, QColor(0xa5, 0x9f, 0x93));
    p.fillRect(QRect(0, kTopoDaFaixa, kLargura, kAltura - kTopoDaFaixa), faixa);
    p.setPen(QPen(QColor(0x8c, 0x87, 0x7d), 2));
    p.drawLine(0, kTopoDaFaixa, kLargura, kTopoDaFaixa);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const int x = 310 + (i * 37) % (kLargura - 310);
        const int y = kTopoDaFaixa + 8 + (i * 23) % (kAltura - kTopoDaFaixa - 14);
        const qreal r = 2.0 + (i * 7) % 5;
        const int cinza = 0x7a + (i * 13) % 54;
        p.setBrush(QColor(cinza + 8, cinza + 4, cinza));
        p.drawEllipse(QPointF(x, y), r, r * 0.8);
    }
    for (int i = 0; i < 40; ++i) {
        const int x = 6 + (i * 53) % 300;
        const int y = kTopoDaFaixa + 6 + (i * 29) % (kAltura - kTopoDaFaixa - 10);
        p.setBrush(QColor(0x9a, 0x94, 0x88, 70));
        p.drawEllipse(QPointF(x, y), 1.4, 1.2);
    }

    // The mixer: stand and wheels on the band.
    p.setPen(QPen(kAco, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(340, 150), QPointF(318, 226));
    p.drawLine(QPointF(372, 150), QPointF(406, 226));
    p.drawLine(QPointF(330, 190), QPointF(430, 206));
    p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
    for (const QPointF roda : {QPointF(318, 226), QPointF(406, 226)}) {
        p.setBrush(QColor(0x30, 0x30, 0x30));
        p.drawEllipse(roda, 12, 12);
        p.setBrush(QColor(0x8a, 0x8a, 0x8a));
        p.drawEllipse(roda, 4, 4);
    }
    // The handle of the operator.
    p.setPen(QPen(kAco, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(430, 206), QPointF(452, 168));

    // The drum, tilted with its mouth up and to the right, turning.
    p.save();
    p.translate(356, 122);
    p.rotate(-26);
    const QPainterPath tambor = widgets::Desenhos::tambor(3.0);
    QLinearGradient laranja(0, -46, 0, 46);
    laranja.setColorAt(0, QColor(0xf6, 0xb0, 0x55));
    laranja.setColorAt(0.45, kLaranja);
    laranja.setColorAt(1, QColor(0xa8, 0x5a, 0x10));
    p.setPen(QPen(kLaranjaEscuro, 2.5));
    p.setBrush(laranja);
    p.drawPath(tambor);
    p.setPen(QPen(kLaranjaEscuro, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-38, -42), QPointF(-42, 42));
    p.drawLine(QPointF(-4, -38), QPointF(-8, 38));
    p.setPen(QPen(QColor(0x3a, 0x3a, 0x3a), 2));
    p.setBrush(QColor(0x55, 0x55, 0x55));
    p.drawEllipse(QPointF(50, 0), 9, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(kConcreto);
    p.drawEllipse(QPointF(51, 3), 5, 15);
    p.restore();

    // A heap of fresh concrete beside the mixer.
    QPainterPath monte;
    monte.moveTo(416, kTopoDaFaixa + 2);
    monte.cubicTo(428, 200, 452, 198, 472, kTopoDaFaixa + 2);
    monte.closeSubpath();
    QLinearGradient massa(0, 198, 0, kTopoDaFaixa);
    massa.setColorAt(0, QColor(0xcf, 0xca, 0xbf));
    massa.setColorAt(1, QColor(0x9c, 0x96, 0x8a));
    p.setBrush(massa);
    p.setPen(QPen(QColor(0x7c, 0x77, 0x6d), 1.2));
    p.drawPath(monte);

    // Motion lines: the drum is turning.
    p.setPen(QPen(QColor(0x8f, 0xd1, 0x9e), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(276, 46, 44, 44), 70 * 16, 120 * 16);
    p.drawLine(QPointF(288, 50), QPointF(298, 46));
    p.drawLine(QPointF(288, 50), QPointF(293, 58));

    // A thin frame, since the window has no border of its own.
    p.setPen(QPen(QColor(0x10, 0x18, 0x20), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, kLargura - 2, kAltura - 2));
    return figura;
}

} // namespace app
