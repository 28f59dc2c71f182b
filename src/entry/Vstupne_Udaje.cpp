#include "entry/Vstupne_Udaje.h"

#include "common/UserDialogs.h"
#include "entry/EntryHost.h"
#include "project/Project.h"

TVstupUdajov::TVstupUdajov(dorvan::Project& project, dorvan::UserDialogs& dialogs, EntryHost& host,
                           QWidget* parent)
    : QWidget(parent), project_(project), dialogs_(dialogs), host_(host)
{
    setObjectName("VstupUdajov");
}

TVstupUdajov::~TVstupUdajov() = default;
