/*
 * The contract between the program and an output module: ten exported
 * functions with C linkage, looked up by name in a shared library.
 *
 * Only C values cross: C strings (never null; an empty text is ""),
 * integers (flags are 0 or 1, any non-zero value counts as true), function
 * pointers and the opaque module handle. Strings passed in are valid only
 * during the call; the module copies what it keeps.
 *
 * Per run: init, then for every class startClass, (startMember, endMember)
 * for each member, endClass; then done. create once per load, destroy once
 * before unload; getOptions and setOptions only while no run is active.
 * A module needs no locks: the program never makes two calls at once.
 */
#ifndef VANTRY_MODULE_INTERFACE_H
#define VANTRY_MODULE_INTERFACE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Owned by the module; the program never looks inside. */
typedef void* ModuleHandle;

/* Progress as done out of total; returns 0 when the user asked to stop.
 * done == -1 only asks whether to stop. Three more reports (total 0) are
 * made by a module that writes its pages under temporary names, in this
 * order:
 * VANTRY_PROGRESS_STAGED, first in done: its pages will wait to move in,
 * so that a run in which it fails leaves the previous site, listings
 * included (a module that never says so writes in place, and the listings
 * follow it whatever it reports);
 * VANTRY_PROGRESS_MOVE_IN, once all are written: may they replace the
 * previous site? 1: yes, the program has put its own pages (the source
 * listings) in place; 0: no, the module removes them and leaves the
 * previous site as it was. A stop asked while they move in puts every page
 * back as it was;
 * VANTRY_PROGRESS_MOVED_IN, once its pages are in place: the site is
 * whole. Without it the program puts its listings back too. */
typedef int (*ModuleProgressFn)(int done, int total, void* context);
#define VANTRY_PROGRESS_MOVE_IN (-2)
#define VANTRY_PROGRESS_STAGED (-3)
#define VANTRY_PROGRESS_MOVED_IN (-4)
/* Sets the two status lines; a null line1 leaves line 1 unchanged; line2 is
 * never null. */
typedef void (*ModuleStatusFn)(const char* line1, const char* line2, void* context);
/* Appends one error or warning text to the run's warnings. */
typedef void (*ModuleErrorFn)(const char* text, void* context);

/* Signatures of the ten exports, for lookup by name. */
typedef ModuleHandle (*ModuleCreateFn)(void);
typedef void (*ModuleDestroyFn)(ModuleHandle handle);
typedef void (*ModuleInitFn)(ModuleHandle handle,
                             const char* title,
                             const char* company,
                             const char* detailDirectory,
                             int hierarchicalIndex,
                             const char* additionalHead,
                             const char* header,
                             const char* footer,
                             const char* itemTemplate,
                             const char* sourceListingDirectory,
                             const char* outputFile,
                             const char* projectList,
                             int detailDirectoryGiven,
                             int lineBreaks,
                             int mixCppCsharp,
                             ModuleProgressFn progress,
                             ModuleStatusFn status,
                             ModuleErrorFn error,
                             void* context);
typedef void (*ModuleStartClassFn)(ModuleHandle handle,
                                   const char* name,
                                   const char* comment,
                                   const char* baseList,
                                   const char* fileNames,
                                   const char* package,
                                   const char* kind,
                                   const char* container,
                                   const char* sourceDirectory,
                                   const char* language);
typedef void (*ModuleStartMemberFn)(ModuleHandle handle,
                                    const char* name,
                                    const char* comment,
                                    const char* access,
                                    const char* declaration,
                                    int hasArguments,
                                    const char* fileNames,
                                    int argumentCount,
                                    const char** arguments);
typedef void (*ModuleEndMemberFn)(ModuleHandle handle, const char* name);
typedef void (*ModuleEndClassFn)(ModuleHandle handle, const char* name);
typedef void (*ModuleDoneFn)(ModuleHandle handle);
/* Option text: per option "key|label|kind|current|default|", then one more
 * "|". Valid until the next getOptions or destroy on the handle. */
typedef const char* (*ModuleGetOptionsFn)(ModuleHandle handle);
/* One value per option, in option-text order; null leaves one unchanged. */
typedef void (*ModuleSetOptionsFn)(ModuleHandle handle, const char** values);

/* Marks a module's exports: C linkage, visible although the module hides
 * everything else. */
#ifdef __cplusplus
#define VANTRY_MODULE_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define VANTRY_MODULE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
}
#endif

#endif /* VANTRY_MODULE_INTERFACE_H */
