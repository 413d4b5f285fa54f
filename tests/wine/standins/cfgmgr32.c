/* Test-only stand-in for cfgmgr32.dll under Wine, whose CM_Locate_DevNodeA
   finds no root: a device tree that the test writes (standins.h), walked by
   the five calls Lumetra makes. Every other export is Wine's: its forwarders
   to setupapi.dll as they are, its unimplemented stubs as the same stubs
   (cfgmgr32.def is made from Wine's export table). Never shipped. */
#define _CFGMGR32_
#include "standins.h"

#include <cfgmgr32.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#define MAX_NODES 64
#define MAX_DEPTH 16
#define MAX_FILE 16384
#define NO_NODE (-1)

/* A property's bytes in the tree's pool; length 0 when it is absent. */
typedef struct {
    ULONG offset;
    ULONG length;
} Property;

typedef struct {
    int parent, child, sibling;
    Property driver, description, hardwareIds;
} Node;

/* The tree of the last CM_Locate_DevNodeA; count 0 when there is none. The
   pool holds the values with their terminators: no more bytes than the
   fields and depths they were read from. */
static struct {
    int count;
    Node nodes[MAX_NODES];
    ULONG used;
    char pool[MAX_FILE];
} tree;
static SRWLOCK treeLock = SRWLOCK_INIT;

static void Complain(int line, const char *reason)
{
    char message[160];
    snprintf(message, sizeof(message), "cfgmgr32 stand-in: " STANDIN_DEVTREE_FILE " line %d: %s\n", line, reason);
    OutputDebugStringA(message);
}

/* Appends text[0..length) and its terminator to the pool as one more string
   of property; a REG_MULTI_SZ keeps its closing terminator after the last. */
static void AppendString(Property *property, const char *text, ULONG length, BOOL multiple)
{
    if (property->length == 0) {
        property->offset = tree.used;
    } else if (multiple) {
        tree.used--; /* over the closing terminator */
        property->length--;
    }
    CopyMemory(tree.pool + tree.used, text, length);
    tree.pool[tree.used + length] = '\0';
    tree.used += length + 1;
    property->length += length + 1;
    if (multiple) {
        tree.pool[tree.used++] = '\0';
        property->length++;
    }
}

/* One "name=value" field of a node's line; FALSE if it is not one. */
static BOOL ParseField(Node *node, const char *field, ULONG length)
{
    static const struct {
        const char *name;
        size_t offset;
        BOOL multiple;
    } kinds[] = {
        {"driver=", offsetof(Node, driver), FALSE},
        {"desc=", offsetof(Node, description), FALSE},
        {"hwid=", offsetof(Node, hardwareIds), TRUE},
    };
    for (size_t i = 0; i < sizeof(kinds) / sizeof(kinds[0]); ++i) {
        ULONG nameLength = (ULONG)strlen(kinds[i].name);
        if (length < nameLength || strncmp(field, kinds[i].name, nameLength) != 0)
            continue;
        Property *property = (Property *)((char *)node + kinds[i].offset);
        /* A REG_MULTI_SZ's strings follow one another in the pool. */
        if (property->length != 0 && (!kinds[i].multiple || property->offset + property->length != tree.used))
            return FALSE;
        AppendString(property, field + nameLength, length - nameLength, kinds[i].multiple);
        return TRUE;
    }
    return FALSE;
}

/* Links node index at depth under the last node one level up; tails[d] is
   the last node at depth d under the current path. */
static BOOL LinkNode(int index, int depth, int tails[MAX_DEPTH])
{
    if (index == 0 ? depth != 0 : (depth < 1 || tails[depth - 1] == NO_NODE))
        return FALSE;
    Node *node = &tree.nodes[index];
    node->parent = depth == 0 ? NO_NODE : tails[depth - 1];
    node->child = node->sibling = NO_NODE;
    if (depth > 0 && tails[depth] != NO_NODE)
        tree.nodes[tails[depth]].sibling = index;
    else if (depth > 0)
        tree.nodes[node->parent].child = index;
    tails[depth] = index;
    for (int d = depth + 1; d < MAX_DEPTH; ++d)
        tails[d] = NO_NODE;
    return TRUE;
}

/* One node's line, without its line end; FALSE if it is malformed. */
static BOOL ParseNode(const char *line, ULONG length, int tails[MAX_DEPTH])
{
    ULONG at = 0;
    int depth = 0;
    while (at < length && line[at] >= '0' && line[at] <= '9' && depth < MAX_DEPTH)
        depth = depth * 10 + (line[at++] - '0');
    if (at == 0 || depth >= MAX_DEPTH || tree.count == MAX_NODES || !LinkNode(tree.count, depth, tails))
        return FALSE;
    Node *node = &tree.nodes[tree.count];
    node->driver = node->description = node->hardwareIds = (Property){0, 0};
    while (at < length) {
        if (line[at] != '|')
            return FALSE;
        ULONG start = ++at;
        while (at < length && line[at] != '|')
            ++at;
        if (!ParseField(node, line + start, at - start))
            return FALSE;
    }
    tree.count++;
    return TRUE;
}

/* Parses the file's text into the tree; an error leaves no tree. */
static void ParseTree(const char *text, ULONG length)
{
    int tails[MAX_DEPTH];
    for (int d = 0; d < MAX_DEPTH; ++d)
        tails[d] = NO_NODE;
    tree.count = 0;
    tree.used = 0;
    int lineNumber = 0;
    for (ULONG at = 0; at < length;) {
        ULONG end = at;
        while (end < length && text[end] != '\n')
            ++end;
        ULONG next = end + 1;
        ++lineNumber;
        if (end > at && text[end - 1] == '\r')
            --end;
        const char *fault = NULL;
        for (ULONG i = at; i < end; ++i)
            if ((unsigned char)text[i] < ' ')
                fault = "control character";
        if (fault == NULL && end > at && text[at] != '#' && !ParseNode(text + at, end - at, tails))
            fault = "not a node of the tree";
        if (fault != NULL) {
            Complain(lineNumber, fault);
            tree.count = 0;
            return;
        }
        at = next;
    }
    if (tree.count == 0)
        Complain(lineNumber, "no root");
}

static void ReloadTree(void)
{
    static char text[MAX_FILE];
    DWORD length;
    if (ReadControlFile(STANDIN_DEVTREE_FILE, text, sizeof(text), &length)) {
        ParseTree(text, length);
    } else {
        tree.count = 0;
        Complain(0, "missing or too large");
    }
}

/* The node of a handle, or NULL; call with the lock held. */
static const Node *NodeOf(DEVINST handle)
{
    return handle >= 1 && handle <= (DEVINST)tree.count ? &tree.nodes[handle - 1] : NULL;
}

CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST pdnDevInst, DEVINSTID_A pDeviceID, ULONG ulFlags)
{
    if (pdnDevInst == NULL)
        return CR_INVALID_POINTER;
    if (ulFlags & ~CM_LOCATE_DEVNODE_BITS)
        return CR_INVALID_FLAG;
    AcquireSRWLockExclusive(&treeLock);
    ReloadTree();
    CONFIGRET result = CR_SUCCESS;
    if (tree.count == 0)
        result = CR_FAILURE;
    else if (pDeviceID != NULL && pDeviceID[0] != '\0' && lstrcmpiA(pDeviceID, "HTREE\\ROOT\\0") != 0)
        result = CR_NO_SUCH_DEVNODE; /* the other nodes have no instance IDs */
    else
        *pdnDevInst = 1;
    ReleaseSRWLockExclusive(&treeLock);
    return result;
}

typedef enum { CHILD, SIBLING, PARENT } Relation;

static CONFIGRET GetRelative(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags, Relation relation)
{
    if (pdnDevInst == NULL)
        return CR_INVALID_POINTER;
    if (ulFlags != 0)
        return CR_INVALID_FLAG;
    AcquireSRWLockShared(&treeLock);
    const Node *node = NodeOf(dnDevInst);
    CONFIGRET result = CR_INVALID_DEVNODE;
    if (node != NULL) {
        int relative = relation == CHILD ? node->child : relation == SIBLING ? node->sibling : node->parent;
        result = relative == NO_NODE ? CR_NO_SUCH_DEVNODE : CR_SUCCESS;
        if (relative != NO_NODE)
            *pdnDevInst = relative + 1;
    }
    ReleaseSRWLockShared(&treeLock);
    return result;
}

CONFIGRET WINAPI CM_Get_Child(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags)
{
    return GetRelative(pdnDevInst, dnDevInst, ulFlags, CHILD);
}

CONFIGRET WINAPI CM_Get_Sibling(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags)
{
    return GetRelative(pdnDevInst, dnDevInst, ulFlags, SIBLING);
}

CONFIGRET WINAPI CM_Get_Parent(PDEVINST pdnDevInst, DEVINST dnDevInst, ULONG ulFlags)
{
    return GetRelative(pdnDevInst, dnDevInst, ulFlags, PARENT);
}

/* The modelled property of a node, or NULL; *type gets its registry type. */
static const Property *PropertyOf(const Node *node, ULONG property, ULONG *type)
{
    const Property *value = NULL;
    *type = REG_SZ;
    if (property == CM_DRP_DRIVER)
        value = &node->driver;
    else if (property == CM_DRP_DEVICEDESC)
        value = &node->description;
    else if (property == CM_DRP_HARDWAREID) {
        value = &node->hardwareIds;
        *type = REG_MULTI_SZ;
    }
    return value != NULL && value->length != 0 ? value : NULL;
}

CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST dnDevInst, ULONG ulProperty, PULONG pulRegDataType,
                                                   PVOID Buffer, PULONG pulLength, ULONG ulFlags)
{
    /* Without a buffer only the length is asked for, with *pulLength 0. */
    if (pulLength == NULL || (Buffer == NULL && *pulLength != 0))
        return CR_INVALID_POINTER;
    if (ulFlags != 0)
        return CR_INVALID_FLAG;
    if (ulProperty < CM_DRP_MIN || ulProperty > CM_DRP_MAX)
        return CR_INVALID_PROPERTY;
    AcquireSRWLockShared(&treeLock);
    const Node *node = NodeOf(dnDevInst);
    ULONG type;
    const Property *value = node != NULL ? PropertyOf(node, ulProperty, &type) : NULL;
    CONFIGRET result = node == NULL ? CR_INVALID_DEVNODE : value == NULL ? CR_NO_SUCH_VALUE : CR_SUCCESS;
    if (value != NULL) {
        if (*pulLength < value->length)
            result = CR_BUFFER_SMALL;
        else
            CopyMemory(Buffer, tree.pool + value->offset, value->length);
        *pulLength = value->length;
        if (pulRegDataType != NULL)
            *pulRegDataType = type;
    }
    ReleaseSRWLockShared(&treeLock);
    return result;
}

#include "cfgmgr32_stubs.h"
