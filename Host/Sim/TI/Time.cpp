#include "TI/Time.hpp"

#include <ctime>

#include "Sim/API/Session.hpp"

GS::UniString TIGetTimeString(GSTime time, Int32 format)
{
	std::time_t moment = static_cast<std::time_t>(time == 0 ? Sim::TheSession().clock : time);
	std::tm parts{};
	gmtime_r(&moment, &parts);
	char text[32];
	std::strftime(text, sizeof(text), format == TI_Date ? "%Y-%m-%d" : "%Y-%m-%d %H:%M:%S", &parts);
	return GS::UniString(text);
}
