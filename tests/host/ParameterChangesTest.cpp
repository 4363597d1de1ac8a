#include "ParameterChanges.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

// Every allocation in this test program is counted, so a test can prove that
// filling the lists allocates nothing.
static std::atomic<long> allocationCount {0};

void* operator new (std::size_t size)
{
	++allocationCount;
	if (void* memory = std::malloc (size ? size : 1))
		return memory;
	throw std::bad_alloc ();
}
void operator delete (void* memory) noexcept { std::free (memory); }
void operator delete (void* memory, std::size_t) noexcept { std::free (memory); }

namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

struct Point
{
	int32 offset;
	ParamValue value;
};

std::vector<Point> pointsOf (IParamValueQueue& queue)
{
	std::vector<Point> points;
	for (int32 i = 0; i < queue.getPointCount (); ++i)
	{
		Point p {};
		EXPECT_EQ (queue.getPoint (i, p.offset, p.value), kResultTrue);
		points.push_back (p);
	}
	return points;
}

TEST (ParameterValueQueue, KeepsPointsOrderedAndReplacesSameOffset)
{
	ParameterValueQueue queue (7, 8);
	int32 index = -1;
	EXPECT_EQ (queue.addPoint (100, 0.6, index), kResultTrue);
	EXPECT_EQ (index, 0);
	EXPECT_EQ (queue.addPoint (0, 0.2, index), kResultTrue);
	EXPECT_EQ (index, 0);
	EXPECT_EQ (queue.addPoint (50, 0.4, index), kResultTrue);
	EXPECT_EQ (index, 1);
	EXPECT_EQ (queue.addPoint (50, 0.45, index), kResultTrue);
	EXPECT_EQ (index, 1);

	auto points = pointsOf (queue);
	ASSERT_EQ (points.size (), 3u);
	EXPECT_EQ (points[0].offset, 0);
	EXPECT_EQ (points[0].value, 0.2);
	EXPECT_EQ (points[1].offset, 50);
	EXPECT_EQ (points[1].value, 0.45);
	// A plug-in reading only the last point must see the latest offset.
	EXPECT_EQ (points[2].offset, 100);
	EXPECT_EQ (points[2].value, 0.6);
	EXPECT_EQ (queue.getParameterId (), 7u);
}

TEST (ParameterValueQueue, OutOfRangeReadsFailAndLeaveOutputsAlone)
{
	ParameterValueQueue queue (1, 4);
	int32 offset = -5;
	ParamValue value = -1.0;
	EXPECT_EQ (queue.getPoint (0, offset, value), kResultFalse); // empty: last point is -1
	EXPECT_EQ (queue.getPoint (-1, offset, value), kResultFalse);
	int32 index;
	queue.addPoint (3, 0.5, index);
	EXPECT_EQ (queue.getPoint (1, offset, value), kResultFalse);
	EXPECT_EQ (offset, -5);
	EXPECT_EQ (value, -1.0);
}

TEST (ParameterChanges, ReusesTheQueueOfAnId)
{
	ParameterChanges changes (4, 4);
	int32 first = -1, second = -1, again = -1;
	IParamValueQueue* a = changes.addParameterData (5, first);
	IParamValueQueue* b = changes.addParameterData (19, second);
	IParamValueQueue* c = changes.addParameterData (5, again);
	EXPECT_EQ (first, 0);
	EXPECT_EQ (second, 1);
	EXPECT_EQ (again, 0);
	EXPECT_EQ (a, c);
	EXPECT_NE (a, b);
	EXPECT_EQ (changes.getParameterCount (), 2);
	EXPECT_EQ (changes.getParameterData (1), b);
	EXPECT_EQ (changes.getParameterData (2), nullptr);
	EXPECT_EQ (changes.getParameterData (-1), nullptr);
}

TEST (ParameterChanges, FullListsRefuseWithoutAllocating)
{
	ParameterChanges changes (2, 3);
	const long before = allocationCount.load ();
	for (int round = 0; round < 3; ++round)
	{
		changes.clear ();
		int32 index;
		IParamValueQueue* queue = changes.addParameterData (1, index);
		ASSERT_NE (queue, nullptr);
		for (int32 offset = 0; offset < 3; ++offset)
			EXPECT_EQ (queue->addPoint (offset, 0.1 * offset, index), kResultTrue);
		EXPECT_EQ (queue->addPoint (3, 0.9, index), kResultFalse);
		EXPECT_EQ (index, -1);
		// Replacing an existing point still works when the queue is full.
		EXPECT_EQ (queue->addPoint (1, 0.7, index), kResultTrue);
		EXPECT_EQ (index, 1);
		EXPECT_EQ (queue->getPointCount (), 3);

		ASSERT_NE (changes.addParameterData (2, index), nullptr);
		EXPECT_EQ (changes.addParameterData (3, index), nullptr);
		EXPECT_EQ (index, -1);
		EXPECT_EQ (changes.getParameterCount (), 2);
	}
	EXPECT_EQ (allocationCount.load (), before);
}

TEST (ParameterChanges, ClearGivesEmptyQueuesForNewIds)
{
	ParameterChanges changes (2, 4);
	int32 index;
	changes.addParameterData (8, index)->addPoint (10, 0.3, index);
	changes.clear ();
	EXPECT_EQ (changes.getParameterCount (), 0);
	IParamValueQueue* queue = changes.addParameterData (9, index);
	EXPECT_EQ (index, 0);
	EXPECT_EQ (queue->getParameterId (), 9u);
	EXPECT_EQ (queue->getPointCount (), 0);
}

TEST (ParameterChanges, MembersSurviveReferenceCountingByPlugIns)
{
	ParameterChanges changes;
	IParameterChanges* asInterface = nullptr;
	ASSERT_EQ (changes.queryInterface (IParameterChanges::iid, reinterpret_cast<void**> (&asInterface)),
	           kResultOk);
	EXPECT_EQ (asInterface, &changes);
	asInterface->release ();
	changes.release (); // one more than was added: must not delete a member
	int32 index;
	EXPECT_NE (changes.addParameterData (1, index), nullptr);
}

} // namespace
