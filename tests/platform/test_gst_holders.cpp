// GStreamer objects are released on every path: a pipeline that cannot be made (a plugin not
// installed) leaves nothing behind, and the devices built on it fail cleanly and recover.

#include "fixtures/DiscImage.h"
#include "platform/cdrom/Disc.h"
#include "platform/gst/CdStream.h"
#include "platform/gst/Gst.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace platform::gst;

namespace {

// Our own reference on a new element, so its count can be read after the pipeline let go.
GstElement* watched(const char* factory)
{
    GstElement* e = gst_element_factory_make(factory, nullptr);
    gst_object_ref(e);
    return e;
}

// Makes a factory unavailable to the process while it lives, as an uninstalled plugin is.
class MissingPlugin {
public:
    explicit MissingPlugin(const char* name) : feature_(gst_registry_lookup_feature(gst_registry_get(), name))
    {
        gst_registry_remove_feature(gst_registry_get(), feature_);
    }
    ~MissingPlugin()
    {
        gst_registry_add_feature(gst_registry_get(), feature_);
        gst_object_unref(feature_);
    }

private:
    GstPluginFeature* feature_;
};

}  // namespace

TEST(GstHolders, AMissingElementReleasesEveryOtherAndGivesNoPipeline)
{
    ensureInit();
    GstElement* convert = watched("audioconvert");
    GstElement* sink = watched("fakesink");
    EXPECT_EQ(LinkedPipeline("p", {convert, nullptr, sink}), nullptr);
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(convert), 1);  // ours only: the floating one was released
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(sink), 1);
    gst_object_unref(convert);
    gst_object_unref(sink);

    // Elements that cannot link: the pipeline goes, and the elements with it.
    GstElement* video = watched("videotestsrc");
    GstElement* audio = watched("audioconvert");
    EXPECT_EQ(LinkedPipeline("p", {video, audio}), nullptr);
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(video), 1);
    EXPECT_EQ(GST_OBJECT_REFCOUNT_VALUE(audio), 1);
    gst_object_unref(video);
    gst_object_unref(audio);

    GstElement* made =
        LinkedPipeline("p", {gst_element_factory_make("audiotestsrc", nullptr), gst_element_factory_make("fakesink", nullptr)});
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(GST_BIN_NUMCHILDREN(GST_BIN(made)), 2);
    dispose(made);
    EXPECT_EQ(made, nullptr);
}

TEST(GstHolders, TheDiscStreamFailsCleanlyWithoutItsVolumePluginAndPlaysOnceItIsBack)
{
    ensureInit();
    testsupport::TempFolder folder;
    const auto disc = fixtures::makeDiscImage(folder.path(), {75, 75});
    const platform::cdrom::Drive drive(disc.cue);
    CdStream stream;
    {
        MissingPlugin gone("volume");
        EXPECT_FALSE(stream.start(disc.cue, drive.toc(), 0, 150));
        EXPECT_FALSE(stream.start(disc.cue, drive.toc(), 0, 150));  // asked again: still no half-made pipeline
    }
    EXPECT_TRUE(stream.start(disc.cue, drive.toc(), 0, 150));
    stream.stop();
}
