#pragma once

// What the slider and the page count need to know of each chapter of a reflowable book
// beyond its record: its laid-out content size, the content of all chapters before it,
// and the pages of all chapters before it. The renderer reports them as it measures and
// pages the book; the reader (or a test) may also set them directly.

#include <cstdint>
#include <map>

namespace lectoro {

struct ReflowableChapterMetric {
    int64_t contentSize = 0;
    int64_t bookContentSizeTillChapter = 0;
    int64_t totalNumOfPagesTillChapter = 0;
};

class ReflowableChapterMetrics {
public:
    // Zeros for a chapter nothing is known of. Keyed by the chapter's file index.
    ReflowableChapterMetric metricForChapter(int64_t fileIndex) const;
    void setMetric(int64_t fileIndex, const ReflowableChapterMetric&);

    // The renderer measures chapters in order; `chapterIndex` is the chapter just measured.
    // Its size is kept, and the running content total of every chapter after it follows.
    void recordMeasuredChapter(int64_t chapterIndex, int64_t contentSize);
    // A page report tells a chapter's page count; the page totals of later chapters follow
    // where every earlier chapter's count is known.
    void recordChapterPageCount(int64_t chapterIndex, int64_t pagesInChapter);

    void clear();

private:
    void recomputeTotals();

    std::map<int64_t, ReflowableChapterMetric> m_metrics;
    std::map<int64_t, int64_t> m_measuredSizes;
    std::map<int64_t, int64_t> m_pageCounts;
};

} // namespace lectoro
