#pragma once
// A pass over the records that turns each into bytes, made on two threads
// block by block and written in card order: a whole-database export costs
// half its time on two cores, and gives the same bytes as one thread.
#include "core/base/error.h"
#include "core/cards/card_store.h"

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace tb {

// Bytes made in place, as AtomicFileWriter takes them.
class ByteBlock {
public:
    char* reserve(qsizetype n)
    {
        if (m_used + n > m_bytes.size())
            m_bytes.resize(std::max(m_bytes.size() * 2, m_used + n));
        char* at = m_bytes.data() + m_used;
        m_used += n;
        return at;
    }
    void unreserve(qsizetype n) { m_used -= n; }
    void append(QByteArrayView bytes) { std::memcpy(reserve(bytes.size()), bytes.data(), size_t(bytes.size())); }
    QByteArrayView bytes() const { return QByteArrayView(m_bytes.constData(), m_used); }
    void clear() { m_used = 0; }

private:
    QByteArray m_bytes;
    qsizetype m_used = 0;
};

// Records 1..count of store, each given to a part as part(n, record, sink)
// to write its bytes into sink, appended to out in card order. Blocks of
// cards go in turn to mine (on this thread, straight into out) and theirs
// (on another thread, handed over block by block); each part is used on
// one thread only.
template <class Out, class Part>
Status writeRecordsInTwo(const CardStore& store, long long count, Out& out, Part& mine, Part& theirs)
{
    constexpr long long kBlock = 4096;
    if (count <= kBlock)
        return store.forEachRaw(count, [&](long long n, QByteArrayView r) { mine(n, r, out); });
    struct Handover {
        std::mutex mutex;
        std::condition_variable changed;
        std::deque<ByteBlock> ready, spare;
        bool stop = false;
        Status status;
    } h;
    h.spare.resize(2);
    const long long blocks = (count + kBlock - 1) / kBlock;
    const auto range = [&](long long b) { return std::pair(b * kBlock + 1, std::min(count, (b + 1) * kBlock)); };
    std::thread other([&] {
        for (long long b = 1; b < blocks; b += 2) {
            ByteBlock block;
            {
                std::unique_lock lock(h.mutex);
                h.changed.wait(lock, [&] { return h.stop || !h.spare.empty(); });
                if (h.stop)
                    return;
                block = std::move(h.spare.front());
                h.spare.pop_front();
            }
            block.clear();
            const auto [first, last] = range(b);
            const Status s = store.forEachRaw(first, last, [&](long long n, QByteArrayView r) { theirs(n, r, block); });
            const std::lock_guard lock(h.mutex);
            if (!s)
                h.status = s;
            h.ready.push_back(std::move(block));
            h.changed.notify_all();
        }
    });
    Status status;
    for (long long b = 0; b < blocks && status; ++b) {
        if (b % 2 == 0) {
            const auto [first, last] = range(b);
            status = store.forEachRaw(first, last, [&](long long n, QByteArrayView r) { mine(n, r, out); });
            continue;
        }
        std::unique_lock lock(h.mutex);
        h.changed.wait(lock, [&] { return !h.ready.empty(); });
        ByteBlock block = std::move(h.ready.front());
        h.ready.pop_front();
        status = h.status;
        lock.unlock();
        out.append(block.bytes());
        lock.lock();
        h.spare.push_back(std::move(block));
        h.changed.notify_all();
    }
    {
        const std::lock_guard lock(h.mutex);
        h.stop = true;
        h.changed.notify_all();
    }
    other.join();
    return status;
}

}  // namespace tb
