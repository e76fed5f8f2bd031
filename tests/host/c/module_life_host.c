/* A host as small as a Pascal one: plain C, no C++ runtime of its own. It loads the module,
 * configures it with <folder>/wfx.ini, lists the plugin folder, and then either unloads the
 * module ("unload": dlclose must really unload it) or returns from main with the module still
 * loaded ("exit": shut-down then runs at process exit). Prints the number of listed entries.
 * Between the two it switches the CFG tweak whose folder is missing: the refusal is an exception
 * thrown and caught inside the module, so the module's unwinder must find its frames. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

typedef struct {
  int size;
  unsigned int versionLow, versionHigh;
  char defaultIniName[260];
} DefaultParams;

/* The host's find record: the Windows WIN32_FIND_DATAA layout, 320 bytes. */
typedef struct {
  unsigned int attributes;
  unsigned int times[6];
  unsigned int sizeHigh, sizeLow, reserved0, reserved1;
  char fileName[260];
  char alternateName[14];
  char padding[2];
} FindData;

typedef int (*FsInitFn)(int, void*, void*, void*);
typedef void (*FsSetDefaultParamsFn)(DefaultParams*);
typedef void* (*FsFindFirstFn)(char*, FindData*);
typedef int (*FsFindNextFn)(void*, FindData*);
typedef int (*FsFindCloseFn)(void*);
typedef int (*FsContentSetValueFn)(char*, int, int, int, void*, int);

enum { kFtMultipleChoice = 7, kFtFileError = -2 };

static int Fail(const char* what) {
  fprintf(stderr, "module_life_host: %s\n", what);
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: module_life_host MODULE SETTINGS_FOLDER unload|exit");
  const char* module = argv[1];
  int unload = strcmp(argv[3], "unload") == 0;

  void* handle = dlopen(module, RTLD_NOW | RTLD_LOCAL);
  if (!handle) return Fail(dlerror());
  FsInitFn init = (FsInitFn)dlsym(handle, "FsInit");
  FsSetDefaultParamsFn setParams = (FsSetDefaultParamsFn)dlsym(handle, "FsSetDefaultParams");
  FsFindFirstFn findFirst = (FsFindFirstFn)dlsym(handle, "FsFindFirst");
  FsFindNextFn findNext = (FsFindNextFn)dlsym(handle, "FsFindNext");
  FsFindCloseFn findClose = (FsFindCloseFn)dlsym(handle, "FsFindClose");
  FsContentSetValueFn setValue = (FsContentSetValueFn)dlsym(handle, "FsContentSetValue");
  if (!init || !setParams || !findFirst || !findNext || !findClose || !setValue)
    return Fail("an entry point is missing");

  DefaultParams params;
  memset(&params, 0, sizeof params);
  params.size = (int)sizeof params;
  snprintf(params.defaultIniName, sizeof params.defaultIniName, "%s/wfx.ini", argv[2]);
  setParams(&params); /* Double Commander's order: the parameters before FsInit */
  init(1, NULL, NULL, NULL);

  FindData found;
  int entries = 0;
  char root[] = "/";
  void* search = findFirst(root, &found);
  if (search != (void*)(long)-1) {
    if (found.fileName[0]) ++entries;
    while (findNext(search, &found)) ++entries;
    findClose(search);
  }
  printf("entries=%d\n", entries);

  char refused[] = "/Life test CFG."; /* as listed */
  char yes[] = "Yes";
  printf("refused=%d\n", setValue(refused, 0, 0, kFtMultipleChoice, yes, 0) == kFtFileError);

  if (unload) {
    if (dlclose(handle) != 0) return Fail(dlerror());
    if (dlopen(module, RTLD_NOW | RTLD_NOLOAD)) return Fail("the module is still loaded after dlclose");
    printf("unloaded\n");
  }
  return 0;
}
