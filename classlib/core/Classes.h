// The Classes unit: persistent objects, components, collections, lists,
// streams, threads and form streaming.
#pragma once

#include "classlib/core/SysUtils.h"
#include "classlib/core/System.h"
#include "classlib/core/ClassesObjects.h"
// Lists, streams and threads come between the objects and the form streaming.
#include "classlib/core/ClassesLists.h"
#include "classlib/core/ClassesStreams.h"
#include "classlib/core/ClassesThreads.h"
#include "classlib/core/ClassesStreaming.h"
