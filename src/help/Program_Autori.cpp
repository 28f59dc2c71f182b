#include "help/Program_Autori.h"

#include "common/UserDialogs.h"

TProgramAutori::TProgramAutori(dorvan::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs)
{
}
