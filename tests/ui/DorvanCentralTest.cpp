#include "project/Dorvan_Hlavny.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(DorvanCentral, StartsWithProgramTitle)
{
    dorvan::test::ScriptedDialogs dialogs;
    TDorvan_Central w(dialogs);
    EXPECT_EQ(w.windowTitle(), QString("Program DORVAN verzia 2.0"));
}
