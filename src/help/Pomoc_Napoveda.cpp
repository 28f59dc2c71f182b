#include "help/Pomoc_Napoveda.h"

#include "common/UserDialogs.h"
#include "project/Project.h"

#include <QCloseEvent>

TPomocNapoveda::TPomocNapoveda(dorvan::Project& project, dorvan::UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), project_(project), dialogs_(dialogs)
{
}

void TPomocNapoveda::closeEvent(QCloseEvent* event)
{
    Pomoc_Napoveda_Close(event);
}

void TPomocNapoveda::Pomoc_Napoveda_Close(QCloseEvent* event)
{
    event->accept();
}
