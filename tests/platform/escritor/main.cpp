#include "platform/errorlog.h"

#include <QCoreApplication>
#include <QDateTime>

// escritor_log <arquivo> <quantos> <rotina>: appends that many blocks to the log.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 4)
        return 2;
    const int quantos = args.at(2).toInt();
    for (int i = 0; i < quantos; ++i) {
        const platform::ErrorLog::Erro erro{args.at(3) + QString::number(i), 3043 + i, QStringLiteral("Descrição")};
        if (!platform::ErrorLog::acrescenta(args.at(1), erro, QDateTime::currentDateTime()))
            return 1;
    }
    return 0;
}
