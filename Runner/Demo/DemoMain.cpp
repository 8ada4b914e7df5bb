// velmora_demo: plays the host and a user of the add-on on the sample apartment.
//   velmora_demo [--sample FILE] [--plan FILE] [--palette FILE]

#include <iostream>
#include <string>
#include <vector>

#include "AddOnMain.hpp"
#include "CommandLine.hpp"
#include "DemoCoverings.hpp"
#include "HostControl.hpp"

int main(int argc, char** argv)
{
	const Runner::DemoOptions defaults = {VELMORA_DEFAULT_SAMPLE, VELMORA_DEFAULT_PLAN, VELMORA_DEFAULT_PALETTE};
	Runner::CommandLine line = Runner::ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), defaults);
	if (line.help) {
		std::cout << Runner::UsageText("velmora_demo", defaults);
		return 0;
	}
	if (!line.problem.empty()) {
		std::cerr << "velmora_demo: " << line.problem << "\n" << Runner::UsageText("velmora_demo", defaults);
		return 2;
	}
	HostControl::ResetHost();
	const Runner::AddOnUnderTest velmora{{CheckEnvironment, RegisterInterface, Initialize, FreeData},
	                                     Demo::DescribeZone};
	return Runner::RunDemo(line.options, Runner::LibraryIndexInProject, velmora, std::cout, std::cerr);
}
