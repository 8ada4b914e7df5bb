// Model changes run inside an undoable command, as the room commands run the
// engine; the host refuses them anywhere else.
#pragma once

#include "HostTest.hpp"
#include "SessionControl.hpp"

// Runs the body where the model accepts changes and returns what it returns.
template <typename Body> auto InUndoScope(Body body) -> decltype(body())
{
	struct Closer {
		~Closer() { HostControl::CloseUndoScope(); }
	};
	HostControl::OpenUndoScope();
	Closer closer;
	return body();
}

// A test whose whole body runs where the model accepts changes.
class UndoScopeTest : public HostTest {
protected:
	void SetUp() override
	{
		HostTest::SetUp();
		HostControl::OpenUndoScope();
	}

	void TearDown() override
	{
		HostControl::CloseUndoScope();
		HostTest::TearDown();
	}
};
