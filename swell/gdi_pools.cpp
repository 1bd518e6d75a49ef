// Free pools of context and object records, and the set of live ones.
#include <atomic>
#include <cstdlib>
#include <new>
#include <unordered_set>

#include "detail/gdi_records.h"
#include "wdl/mutex.h"

namespace swell_pool {
namespace {

const int kMaxPooledContexts = 100;
const int kMaxPooledObjects = 200;

struct Pools {
  WDL_Mutex mutex; // recursive: creation may nest inside deletion callbacks
  GDP_CTX* ctxPool = nullptr;
  int ctxPoolSize = 0;
  GDP_OBJECT* objPool = nullptr;
  int objPoolSize = 0;
  std::unordered_set<const void*> liveContexts;
  std::unordered_set<const void*> liveObjects;
  bool unloaded = false;
};

// Created on first use; freed when the module unloads with no record alive.
// Contexts deleted by other static destructors after that make a new one and
// still find a lock to take.
std::atomic<Pools*> s_pools{nullptr};

Pools& P() {
  Pools* pools = s_pools.load(std::memory_order_acquire);
  if (pools) return *pools;
  Pools* made = new Pools;
  if (s_pools.compare_exchange_strong(pools, made, std::memory_order_acq_rel)) return *made;
  delete made;
  return *pools;
}

GDP_OBJECT s_stockPen = {kObjPen, 0, {}, -1, nullptr, 0, 0, nullptr, nullptr, 0};
GDP_OBJECT s_stockBrush = {kObjBrush, 0, {}, -1, nullptr, 0, 0, nullptr, nullptr, 0};

// Frees the pooled records when the module unloads.
struct SwellGdiUnloader {
  ~SwellGdiUnloader() {
    bool idle = false;
    {
      Pools& p = P();
      WDL_MutexLock hold(&p.mutex);
      p.unloaded = true;
      while (GDP_CTX* c = p.ctxPool) {
        p.ctxPool = c->mPoolNext;
        free(c);
      }
      while (GDP_OBJECT* o = p.objPool) {
        p.objPool = o->mPoolNext;
        free(o);
      }
      p.ctxPoolSize = p.objPoolSize = 0;
      idle = p.liveContexts.empty() && p.liveObjects.empty();
    }
    // Records still alive keep the pools (and their lock) for their deletion.
    if (idle) delete s_pools.exchange(nullptr, std::memory_order_acq_rel);
  }
} _swellGdiUnloader;

} // namespace

WDL_Mutex* Mutex() {
  return &P().mutex;
}

GDP_CTX* TakeContext() {
  Pools& p = P();
  WDL_MutexLock hold(&p.mutex);
  GDP_CTX* c = p.ctxPool;
  if (c) {
    p.ctxPool = c->mPoolNext;
    --p.ctxPoolSize;
  } else {
    c = static_cast<GDP_CTX*>(malloc(sizeof(GDP_CTX)));
    if (!c) return nullptr;
  }
  new (c) GDP_CTX();
  p.liveContexts.insert(c);
  return c;
}

GDP_OBJECT* TakeObject() {
  Pools& p = P();
  WDL_MutexLock hold(&p.mutex);
  GDP_OBJECT* o = p.objPool;
  if (o) {
    p.objPool = o->mPoolNext;
    --p.objPoolSize;
  } else {
    o = static_cast<GDP_OBJECT*>(malloc(sizeof(GDP_OBJECT)));
    if (!o) return nullptr;
  }
  new (o) GDP_OBJECT();
  p.liveObjects.insert(o);
  return o;
}

void ReturnContext(GDP_CTX* ctx) {
  Pools& p = P();
  WDL_MutexLock hold(&p.mutex);
  if (!ctx || p.liveContexts.erase(ctx) == 0) return;
  *ctx = GDP_CTX();
  ctx->mFreed = 1;
  if (p.unloaded || p.ctxPoolSize >= kMaxPooledContexts) {
    free(ctx);
    return;
  }
  ctx->mPoolNext = p.ctxPool;
  p.ctxPool = ctx;
  ++p.ctxPoolSize;
}

void ReturnObject(GDP_OBJECT* obj) {
  Pools& p = P();
  WDL_MutexLock hold(&p.mutex);
  if (!obj || p.liveObjects.erase(obj) == 0) return;
  *obj = GDP_OBJECT();
  obj->mFreed = 1;
  if (p.unloaded || p.objPoolSize >= kMaxPooledObjects) {
    free(obj);
    return;
  }
  obj->mPoolNext = p.objPool;
  p.objPool = obj;
  ++p.objPoolSize;
}

bool IsLiveContext(HDC ctx) {
  if (!ctx) return false;
  Pools& p = P();
  WDL_MutexLock hold(&p.mutex);
  return p.liveContexts.count(ctx) != 0 && !ctx->mFreed;
}

bool IsStockObject(HGDIOBJ obj) {
  return obj == &s_stockPen || obj == &s_stockBrush;
}

bool IsLiveObject(HGDIOBJ obj, int type) {
  if (!obj) return false;
  if (!IsStockObject(obj)) {
    Pools& p = P();
    WDL_MutexLock hold(&p.mutex);
    if (p.liveObjects.count(obj) == 0 || obj->mFreed) return false;
  }
  return type == 0 || obj->mType == type;
}

int PooledContextCount() {
  WDL_MutexLock hold(&P().mutex);
  return P().ctxPoolSize;
}

int PooledObjectCount() {
  WDL_MutexLock hold(&P().mutex);
  return P().objPoolSize;
}

} // namespace swell_pool

HGDIOBJ GetStockObject(int index) {
  if (index == NULL_PEN) return &swell_pool::s_stockPen;
  if (index == NULL_BRUSH) return &swell_pool::s_stockBrush;
  return nullptr;
}
