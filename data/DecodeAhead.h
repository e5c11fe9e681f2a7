// One item read ahead of being shown, its picture decoded on a thread of its own while the
// program waits for the user, so that the step to it shows it without decoding. It is held for
// one place (the item and the box its view decodes for) and given up when the user goes
// anywhere else. It makes no temporary file and tells nothing until it is shown; an item that
// cannot be read or decoded ahead is left to be loaded as usual, and its damage met then.
#pragma once

#include <memory>

#include "data/CollectionFile.h"
#include "framework/system/ParallelJobs.h"

class CDecodeAhead {
public:
    CDecodeAhead() = default;
    ~CDecodeAhead() { Drop(); }
    CDecodeAhead(const CDecodeAhead&) = delete;
    CDecodeAhead& operator=(const CDecodeAhead&) = delete;

    // On the window thread: lets go of what is held, reads item nIndex's record and starts
    // decoding its picture for sizeBox on the worker. Holds nothing when the record cannot be
    // read or no thread can be had.
    void Start(CCollectionFile& collection, int nIndex, CSize sizeBox);
    BOOL Holds(int nIndex, CSize sizeBox) const;
    // The item held (it may still be decoding), or −1.
    int GetIndex() const { return m_pItem ? m_nIndex : -1; }
    // Returns once the decode held has ended.
    void Wait() { m_job.Wait(); }
    // Waits for the decode and hands over the item ready to be shown (the caller deletes it),
    // as LoadItem would have returned it; null, holding nothing, when its picture did not
    // decode (the caller loads it as usual and meets what failed then). A damaged image list
    // raises as LoadItem does.
    CCollectionItem* Take(CCollectionFile& collection);
    // Stops the decode at its next row, waits for it and lets the item go.
    void Drop();

private:
    std::unique_ptr<CCollectionItem> m_pItem;
    int m_nIndex = -1;
    CSize m_sizeBox;
    CBackgroundJob m_job;
};
