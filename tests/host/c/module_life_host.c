/* A host as small as a Pascal one: plain C, no C++ runtime of its own. It loads the module,
 * configures it with <folder>/wfx.ini, lists the plugin folder, and then either unloads the
 * module ("unload": dlclose must really unload it) or returns from main with the module still
 * loaded ("exit": shut-down then runs at process exit), or does so while three threads keep
 * reading the first entry's State column ("threads": shut-down runs while they are inside the
 * module, and they go on calling after it). Prints the number of listed entries. Before it
 * unloads or exits (not in "threads") it switches the CFG tweak whose folder is missing: the
 * refusal is an exception thrown and caught inside the module, so the module's unwinder must
 * find its frames. */
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>
#include <stdatomic.h>
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
typedef int (*FsContentGetValueFn)(char*, int, int, void*, int, int);
typedef int (*FsContentSetValueFn)(char*, int, int, int, void*, int);

enum { kFtMultipleChoice = 7, kFtFileError = -2 };

#define kReaders 3

static FsContentGetValueFn getValue;
static char firstEntry[262];
static atomic_int readersStarted;

/* Reads the State column until the process ends. */
static void* ReadColumns(void* unused) {
  (void)unused;
  char name[sizeof firstEntry];
  memcpy(name, firstEntry, sizeof name);
  int counted = 0;
  for (;;) {
    char value[64];
    getValue(name, 0, 0, value, (int)sizeof value, 0);
    if (!counted) {
      counted = 1;
      atomic_fetch_add(&readersStarted, 1);
    }
  }
  return NULL;
}

static int Fail(const char* what) {
  fprintf(stderr, "module_life_host: %s\n", what);
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 4) return Fail("usage: module_life_host MODULE SETTINGS_FOLDER unload|exit|threads");
  const char* module = argv[1];
  int unload = strcmp(argv[3], "unload") == 0;

  void* handle = dlopen(module, RTLD_NOW | RTLD_LOCAL);
  if (!handle) return Fail(dlerror());
  FsInitFn init = (FsInitFn)dlsym(handle, "FsInit");
  FsSetDefaultParamsFn setParams = (FsSetDefaultParamsFn)dlsym(handle, "FsSetDefaultParams");
  FsFindFirstFn findFirst = (FsFindFirstFn)dlsym(handle, "FsFindFirst");
  FsFindNextFn findNext = (FsFindNextFn)dlsym(handle, "FsFindNext");
  FsFindCloseFn findClose = (FsFindCloseFn)dlsym(handle, "FsFindClose");
  getValue = (FsContentGetValueFn)dlsym(handle, "FsContentGetValue");
  FsContentSetValueFn setValue = (FsContentSetValueFn)dlsym(handle, "FsContentSetValue");
  if (!init || !setParams || !findFirst || !findNext || !findClose || !getValue || !setValue)
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
    snprintf(firstEntry, sizeof firstEntry, "/%s", found.fileName);
    while (findNext(search, &found)) ++entries;
    findClose(search);
  }
  printf("entries=%d\n", entries);
  fflush(stdout);

  if (strcmp(argv[3], "threads") == 0) {
    for (int i = 0; i < kReaders; ++i) {
      pthread_t reader;
      if (pthread_create(&reader, NULL, ReadColumns, NULL) != 0) return Fail("no thread");
      pthread_detach(reader);
    }
    while (atomic_load(&readersStarted) < kReaders) sched_yield();
    return 0; /* shut-down runs at exit while the readers are still inside the module */
  }

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
