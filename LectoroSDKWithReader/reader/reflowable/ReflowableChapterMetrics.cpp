#include "LectoroSDKWithReader/reader/reflowable/ReflowableChapterMetrics.h"

namespace lectoro {

ReflowableChapterMetric ReflowableChapterMetrics::metricForChapter(int64_t fileIndex) const
{
    auto found = m_metrics.find(fileIndex);
    return found == m_metrics.end() ? ReflowableChapterMetric() : found->second;
}

void ReflowableChapterMetrics::setMetric(int64_t fileIndex, const ReflowableChapterMetric& metric)
{
    m_metrics[fileIndex] = metric;
}

void ReflowableChapterMetrics::recordMeasuredChapter(int64_t chapterIndex, int64_t contentSize)
{
    if (chapterIndex < 0)
        return;
    m_measuredSizes[chapterIndex] = contentSize;
    recomputeTotals();
}

void ReflowableChapterMetrics::recordChapterPageCount(int64_t chapterIndex, int64_t pagesInChapter)
{
    if (chapterIndex < 0 || pagesInChapter < 0)
        return;
    m_pageCounts[chapterIndex] = pagesInChapter;
    recomputeTotals();
}

void ReflowableChapterMetrics::recomputeTotals()
{
    // Totals run from chapter 0 and stop at the first chapter not yet known.
    int64_t contentTill = 0;
    for (int64_t index = 0;; ++index) {
        auto size = m_measuredSizes.find(index);
        if (size == m_measuredSizes.end())
            break;
        auto& metric = m_metrics[index];
        metric.contentSize = size->second;
        metric.bookContentSizeTillChapter = contentTill;
        contentTill += size->second;
    }
    int64_t pagesTill = 0;
    for (int64_t index = 0;; ++index) {
        m_metrics[index].totalNumOfPagesTillChapter = pagesTill;
        auto pages = m_pageCounts.find(index);
        if (pages == m_pageCounts.end())
            break;
        pagesTill += pages->second;
    }
}

void ReflowableChapterMetrics::clear()
{
    m_metrics.clear();
    m_measuredSizes.clear();
    m_pageCounts.clear();
}

} // namespace lectoro
