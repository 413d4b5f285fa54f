// The presence probe over device trees of different shapes.
#include "PlatformTest.h"

#include "camera/CameraPresence.h"
#include "camera/zivo_camera.h"

namespace {

using sim::Call;

class CameraPresenceTest : public PlatformTest {
protected:
    static DEVINST Node(DEVINST parent, const std::vector<std::string> &ids, bool driver = true, bool desc = true)
    {
        sim::DevNode node;
        node.hardwareIds = sim::MultiSz(ids);
        node.hasDriver = driver;
        node.hasDescription = desc;
        return sim::AddDevNode(parent, node);
    }
    static size_t PropertyReads() { return sim::CallCount(Call::CM_Get_DevNode_Registry_Property); }
};

TEST_F(CameraPresenceTest, TheCameraCountsInAnyCaseWithARevisionSuffix)
{
    sim::camera::Plug();
    EXPECT_TRUE(IsCameraPresent());
    EndCase("a revision suffix: ");
    Node(sim::kRootDevNode, {"usb\\vid_0ac8&pid_0302&mi_00"});
    EXPECT_TRUE(IsCameraPresent());
}

TEST_F(CameraPresenceTest, NodesThatAreNotTheInstalledCameraDoNotCount)
{
    Node(sim::kRootDevNode, {"USB\\VID_0AC8&PID_0303&REV_0100"}); // same vendor, other product
    Node(sim::kRootDevNode, {"USB\\VID_0AC8&PID_030"});           // too short
    Node(sim::kRootDevNode, {"USB\\VID_0AC8&PID_0302&REV_0100"}, false);
    Node(sim::kRootDevNode, {"USB\\VID_0AC8&PID_0302&REV_0100"}, true, false);
    Node(sim::kRootDevNode, {"USB\\VID_1234&PID_0001", "USB\\VID_0AC8&PID_0302"}); // not the first
    EXPECT_FALSE(IsCameraPresent());
}

TEST_F(CameraPresenceTest, AnEmptyHardwareIdIsNotReadAsTheDescriptionBeforeIt)
{
    sim::DevNode node;
    node.description = sim::Sz("USB\\VID_0AC8&PID_0302 lookalike");
    node.hardwareIds = "";
    sim::AddDevNode(sim::kRootDevNode, node);
    EXPECT_FALSE(IsCameraPresent());
}

TEST_F(CameraPresenceTest, TheWalkGoesDepthFirstThroughTheWholeTree)
{
    DEVINST controller = Node(sim::kRootDevNode, {"PCI\\VEN_8086&DEV_1E31"});
    DEVINST hub = Node(controller, {"USB\\ROOT_HUB30"});
    DEVINST mouse = Node(hub, {"HID\\VID_046D&PID_C077"});
    DEVINST hub2 = Node(controller, {"USB\\VID_05E3&PID_0608"});
    DEVINST keyboard = Node(sim::kRootDevNode, {"ACPI\\PNP0303"});
    DEVINST touchpad = Node(keyboard, {"ACPI\\PNP0F13"});
    EXPECT_FALSE(IsCameraPresent());
    EXPECT_EQ(1u + 3 * 6, PropertyReads()); // the root has no driver key
    std::vector<DEVINST> visited;
    for (const sim::PropertyRead &read : sim::PropertyReads())
        if (read.property == CM_DRP_DRIVER)
            visited.push_back(read.node);
    EXPECT_EQ((std::vector<DEVINST>{sim::kRootDevNode, controller, hub, mouse, hub2, keyboard, touchpad}), visited);

    // Deep inside the first subtree, after a leaf that needs a climb back.
    Node(hub2, {"USB\\VID_0AC8&PID_0302&REV_0001"});
    EXPECT_TRUE(IsCameraPresent());
}

TEST_F(CameraPresenceTest, TheFirstMatchEndsTheWalk)
{
    sim::camera::Plug();
    sim::camera::Plug();
    Node(sim::kRootDevNode, {"USB\\VID_1234&PID_0001"});
    EXPECT_TRUE(IsCameraPresent());
    EXPECT_EQ(1u + 3, PropertyReads());
    EXPECT_EQ(0u, sim::CallCount(Call::CM_Get_Sibling));
}

TEST_F(CameraPresenceTest, ARootOnlyTreeIsExaminedAndHoldsNoCamera)
{
    EXPECT_FALSE(IsCameraPresent());
    EXPECT_EQ(1u, PropertyReads());
    EXPECT_EQ(1u, sim::CallCount(Call::CM_Get_Child));
    EXPECT_EQ(1u, sim::CallCount(Call::CM_Get_Parent));
}

TEST_F(CameraPresenceTest, APropertyThatDoesNotFitSkipsTheNode)
{
    DEVINST camera = sim::camera::Plug().node;
    sim::DevNodeAt(camera).driver = std::string(261, 'k');
    EXPECT_FALSE(IsCameraPresent());
    sim::DevNodeAt(camera).driver = std::string(260, 'k');
    EXPECT_TRUE(IsCameraPresent());
    sim::DevNodeAt(camera).description = std::string(261, 'd');
    EXPECT_FALSE(IsCameraPresent());
    sim::DevNodeAt(camera).description = std::string(260, 'd'); // exactly fits, unterminated
    EXPECT_TRUE(IsCameraPresent());
    sim::DevNodeAt(camera).hardwareIds = "USB\\VID_0AC8&PID_0302" + std::string(300, 'x');
    EXPECT_FALSE(IsCameraPresent());
    sim::DevNodeAt(camera).hardwareIds = "USB\\VID_0AC8&PID_0302" + std::string(260 - 21, 'x');
    EXPECT_TRUE(IsCameraPresent());
}

TEST_F(CameraPresenceTest, AFailingRootMeansAbsent)
{
    sim::camera::Plug();
    sim::FailCall(Call::CM_Locate_DevNode, CR_FAILURE);
    EXPECT_FALSE(IsCameraPresent());
    EXPECT_EQ(0u, PropertyReads());
}

} // namespace
