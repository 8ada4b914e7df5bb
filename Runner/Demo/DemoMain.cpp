// velmora_demo: plays the host and a user of the add-on on the sample apartment.
//   velmora_demo [--sample FILE] [--plan FILE] [--palette FILE]

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "AddOnMain.hpp"
#include "CommandLine.hpp"
#include "DemoCoverings.hpp"
#include "HostControl.hpp"
#include "Transcript.hpp"

namespace {

// A closed standard output stays unwritable: else the first file the run
// opens would take its number and get the transcript.
void HoldClosedOutput()
{
	if (::fcntl(STDOUT_FILENO, F_GETFD) != -1)
		return;
	// The lowest free number is taken: standard output's, or standard input's when that is closed too.
	int placeholder = ::open("/dev/null", O_RDONLY);
	if (placeholder == STDIN_FILENO) {
		::dup2(placeholder, STDOUT_FILENO);
		::close(placeholder);
	}
}

int Run(const std::vector<std::string>& arguments, std::ostream& out)
{
	const Runner::DemoOptions defaults = {VELMORA_DEFAULT_SAMPLE, VELMORA_DEFAULT_PLAN, VELMORA_DEFAULT_PALETTE};
	Runner::CommandLine line = Runner::ReadCommandLine(arguments, defaults);
	if (line.help) {
		out << Runner::UsageText("velmora_demo", defaults);
		return 0;
	}
	if (!line.problem.empty()) {
		std::cerr << "velmora_demo: " << line.problem << "\n" << Runner::UsageText("velmora_demo", defaults);
		return 2;
	}
	HostControl::ResetHost();
	const Runner::AddOnUnderTest velmora{{CheckEnvironment, RegisterInterface, Initialize, FreeData},
	                                     Demo::DescribeZone};
	return Runner::RunDemo(line.options, Runner::LibraryIndexInProject, velmora, out, std::cerr);
}

} // namespace

int main(int argc, char** argv)
{
	HoldClosedOutput();
	// A reader that went away shows as a failed write, told at the end, rather than ending the run without a word.
	std::signal(SIGPIPE, SIG_IGN);
	Runner::TranscriptBuffer transcript(STDOUT_FILENO);
	std::ostream out(&transcript);
	// On a terminal each line shows as soon as its step is done.
	if (::isatty(STDOUT_FILENO))
		out.setf(std::ios::unitbuf);
	// Standard error's lines come after the transcript's lines before them.
	std::cerr.tie(&out);
	int status = Run(std::vector<std::string>(argv + 1, argv + argc), out);
	int failure = transcript.Finish();
	std::cerr.tie(nullptr);
	if (failure != 0) {
		std::cerr << "Cannot write the transcript: " << std::strerror(failure) << "\n";
		return 1;
	}
	return status;
}
