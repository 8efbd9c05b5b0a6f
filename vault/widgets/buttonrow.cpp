#include "widgets/buttonrow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

ButtonRow ButtonRow::make(QDialog *dialog, const QString &okText, const QString &cancelText,
                          const std::function<void()> &ok)
{
    ButtonRow row;
    row.ok = new QPushButton(okText, dialog);
    row.cancel = new QPushButton(cancelText, dialog);
    row.ok->setDefault(true);
    if (ok)
        QObject::connect(row.ok, &QPushButton::clicked, dialog, ok);
    else
        QObject::connect(row.ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(row.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row.layout = new QHBoxLayout;
    row.layout->addWidget(row.ok);
    row.layout->addWidget(row.cancel);
    return row;
}
