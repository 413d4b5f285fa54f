// The Configuration Manager's device tree.
#include "state.h"

namespace sim {
namespace detail {
namespace {

TreeNode *Node(DEVINST node)
{
    auto found = S().tree.find(node);
    return found == S().tree.end() ? NULL : &found->second;
}

// Walks from node to a neighbour; which picks it from the node's links.
// The flags are not used and must be zero.
CONFIGRET Neighbour(Call call, PDEVINST out, DEVINST node, ULONG flags, DEVINST (*which)(const TreeNode &))
{
    HRESULT failure;
    if (out == NULL)
        return CR_INVALID_POINTER;
    if (Enter(call, &failure))
        return (CONFIGRET)failure;
    if (flags != 0)
        return CR_INVALID_FLAG;
    const TreeNode *n = Node(node);
    if (n == NULL)
        return CR_INVALID_DEVNODE;
    DEVINST next = which(*n);
    if (next == 0)
        return CR_NO_SUCH_DEVNODE;
    *out = next;
    return CR_SUCCESS;
}

DEVINST FirstChild(const TreeNode &n) { return n.children.empty() ? 0 : n.children.front(); }
DEVINST Parent(const TreeNode &n) { return n.parent; }

DEVINST NextSibling(const TreeNode &n)
{
    const TreeNode *parent = Node(n.parent);
    if (parent == NULL)
        return 0;
    for (size_t i = 0; i + 1 < parent->children.size(); ++i)
        if (Node(parent->children[i]) == &n)
            return parent->children[i + 1];
    return 0;
}

} // namespace
} // namespace detail

using namespace detail;

std::string Sz(const std::string &text) { return text + '\0'; }

std::string MultiSz(const std::vector<std::string> &strings)
{
    std::string all;
    for (const std::string &s : strings)
        all += s + '\0';
    return all + '\0';
}

DEVINST AddDevNode(DEVINST parent, const DevNode &node)
{
    DEVINST id = S().nextDevNode++;
    TreeNode n;
    n.node = node;
    n.parent = parent;
    S().tree[id] = n;
    S().tree.at(parent).children.push_back(id);
    return id;
}

void RemoveDevNode(DEVINST node)
{
    TreeNode *n = Node(node);
    if (n == NULL || node == kRootDevNode)
        return;
    std::vector<DEVINST> children = n->children;
    for (DEVINST child : children)
        RemoveDevNode(child);
    std::vector<DEVINST> &siblings = S().tree.at(S().tree.at(node).parent).children;
    for (size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i] == node)
            siblings.erase(siblings.begin() + (long)i);
    S().tree.erase(node);
}

DevNode &DevNodeAt(DEVINST node) { return S().tree.at(node).node; }
const std::vector<PropertyRead> &PropertyReads() { return S().propertyReads; }

} // namespace sim

using namespace sim;
using namespace sim::detail;

CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST out, DEVINSTID_A id, ULONG flags)
{
    HRESULT failure;
    if (out == NULL)
        return CR_INVALID_POINTER;
    if (Enter(Call::CM_Locate_DevNode, &failure))
        return (CONFIGRET)failure;
    if (id != NULL || flags != CM_LOCATE_DEVNODE_NORMAL)
        return CR_NO_SUCH_DEVNODE; // only the root is ever located
    *out = kRootDevNode;
    return CR_SUCCESS;
}

CONFIGRET WINAPI CM_Get_Child(PDEVINST out, DEVINST node, ULONG flags)
{
    return Neighbour(Call::CM_Get_Child, out, node, flags, FirstChild);
}

CONFIGRET WINAPI CM_Get_Sibling(PDEVINST out, DEVINST node, ULONG flags)
{
    return Neighbour(Call::CM_Get_Sibling, out, node, flags, NextSibling);
}

CONFIGRET WINAPI CM_Get_Parent(PDEVINST out, DEVINST node, ULONG flags)
{
    return Neighbour(Call::CM_Get_Parent, out, node, flags, Parent);
}

CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST node, ULONG property, PULONG type, PVOID buffer,
                                                   PULONG length, ULONG flags)
{
    HRESULT failure;
    if (length == NULL)
        return CR_INVALID_POINTER;
    if (Enter(Call::CM_Get_DevNode_Registry_Property, &failure))
        return (CONFIGRET)failure;
    if (flags != 0)
        return CR_INVALID_FLAG; // not used, must be zero
    const TreeNode *n = Node(node);
    if (n == NULL)
        return CR_INVALID_DEVNODE;
    S().propertyReads.push_back({node, property, false});
    const DevNode &d = n->node;
    const std::string *value = NULL;
    DWORD valueType = REG_SZ;
    if (property == CM_DRP_DRIVER && d.hasDriver)
        value = &d.driver;
    else if (property == CM_DRP_DEVICEDESC && d.hasDescription)
        value = &d.description;
    else if (property == CM_DRP_HARDWAREID && d.hasHardwareIds) {
        value = &d.hardwareIds;
        valueType = REG_MULTI_SZ;
    }
    if (value == NULL)
        return CR_NO_SUCH_VALUE;
    if (buffer == NULL || *length < value->size()) {
        *length = (ULONG)value->size();
        return CR_BUFFER_SMALL;
    }
    memcpy(buffer, value->data(), value->size());
    *length = (ULONG)value->size();
    if (type)
        *type = valueType;
    S().propertyReads.back().delivered = true;
    return CR_SUCCESS;
}
