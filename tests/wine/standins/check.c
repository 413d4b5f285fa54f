/* Test-only console tool that calls the stand-ins as a program would, run
   under Wine by tests/wine/standins_test.sh:
     check tree          walks the device tree and prints it in the format of
                         devtree.txt, or "locate cr=N" without a tree
     check stub NAME     calls an export that Wine leaves unimplemented and
                         prints the exception it raises */
#include <windows.h>

#include <cfgmgr32.h>
#include <stdio.h>
#include <string.h>

static void PrintProperty(DEVINST node, ULONG property, const char *name)
{
    char buffer[260];
    ULONG length = sizeof(buffer);
    if (CM_Get_DevNode_Registry_PropertyA(node, property, NULL, buffer, &length, 0) != CR_SUCCESS)
        return;
    for (const char *id = buffer; *id != '\0' && id < buffer + length; id += strlen(id) + 1) {
        printf("|%s=%s", name, id);
        if (property != CM_DRP_HARDWAREID)
            break;
    }
}

static int Tree(void)
{
    DEVINST node, next;
    CONFIGRET cr = CM_Locate_DevNodeA(&node, NULL, CM_LOCATE_DEVNODE_NORMAL);
    if (cr != CR_SUCCESS) {
        printf("locate cr=%lu\n", cr);
        return 0;
    }
    for (int depth = 0;;) {
        printf("%d", depth);
        PrintProperty(node, CM_DRP_DRIVER, "driver");
        PrintProperty(node, CM_DRP_DEVICEDESC, "desc");
        PrintProperty(node, CM_DRP_HARDWAREID, "hwid");
        printf("\n");
        if (CM_Get_Child(&next, node, 0) == CR_SUCCESS) {
            node = next, ++depth;
            continue;
        }
        while (CM_Get_Sibling(&next, node, 0) != CR_SUCCESS) {
            if (CM_Get_Parent(&next, node, 0) != CR_SUCCESS)
                return 0;
            node = next, --depth;
        }
        node = next;
    }
}

/* Prints the exception a call raises, and ends the process: a stub's is not
   continuable. */
static LONG CALLBACK PrintException(EXCEPTION_POINTERS *pointers)
{
    const EXCEPTION_RECORD *record = pointers->ExceptionRecord;
    printf("exception 0x%08lx flags=%lu", record->ExceptionCode, record->ExceptionFlags);
    if (record->ExceptionCode == 0x80000100 && record->NumberParameters == 2)
        printf(" %s.%s", (const char *)record->ExceptionInformation[0], (const char *)record->ExceptionInformation[1]);
    printf("\n");
    fflush(stdout);
    ExitProcess(3);
}

static int Stub(const char *name)
{
    FARPROC function = GetProcAddress(GetModuleHandleA("cfgmgr32.dll"), name);
    if (function == NULL || !AddVectoredExceptionHandler(1, PrintException))
        return 2;
    function();
    printf("returned\n");
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 2 && strcmp(argv[1], "tree") == 0)
        return Tree();
    if (argc == 3 && strcmp(argv[1], "stub") == 0)
        return Stub(argv[2]);
    fprintf(stderr, "usage: check tree | stub NAME\n");
    return 2;
}
