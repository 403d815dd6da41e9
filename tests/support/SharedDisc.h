#pragma once
// One standard test disc shared by every test of a suite: 4 tracks of 1500, 3780, 225 and 300
// frames (20 s, 50.4 s, 3 s, 4 s).

#include "fixtures/DiscImage.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace testsupport {

class SharedDiscTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempFolder;
        disc = new fixtures::DiscImage(fixtures::makeStandardDisc(folder->path()));
    }
    static void TearDownTestSuite()
    {
        delete disc;
        delete folder;
    }
    static inline TempFolder* folder = nullptr;
    static inline fixtures::DiscImage* disc = nullptr;
};

}  // namespace testsupport
