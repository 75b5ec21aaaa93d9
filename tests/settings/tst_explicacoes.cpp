#include "testregistry.h"

#include "ambiente.h"
#include "settings/formcons.h"
#include "settings/formmass.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>

namespace {

// Named controls a user can point at that have no "O que é isto?" text.
QStringList semExplicacao(QWidget* form)
{
    QStringList faltando;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        const bool controle =
            qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w);
        if (controle && !qobject_cast<QTabBar*>(w->parentWidget()) && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(QLatin1String("qt_")) && w->whatsThis().isEmpty())
            faltando.append(w->objectName());
    }
    return faltando;
}

} // namespace

class TestExplicacoes : public QObject
{
    Q_OBJECT

private:
    Ambiente m_ambiente;

private slots:
    void init() { QVERIFY(m_ambiente.prepara()); }
    void cleanup() { m_ambiente.encerra(); }

    void formMass()
    {
        settings::FormMass form;
        const QStringList faltando = semExplicacao(&form);
        QVERIFY2(faltando.isEmpty(), qPrintable(faltando.join(QStringLiteral(", "))));
    }

    void formCons()
    {
        settings::FormCons form;
        const QStringList faltando = semExplicacao(&form);
        QVERIFY2(faltando.isEmpty(), qPrintable(faltando.join(QStringLiteral(", "))));
    }
};

QUENVAR_TEST(TestExplicacoes)
#include "tst_explicacoes.moc"
