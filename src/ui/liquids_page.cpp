#include "ui/liquids_page.hpp"

#include <array>
#include <string_view>

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/qmxcalc.hpp"
#include "ui/enabling_rules.hpp"
#include "units/dval.hpp"
#include "units/fe.hpp"

namespace qmx::ui {

namespace {

// Each product group with its typical base density and viscosity, loaded when it is chosen.
struct Product {
  const char* text;
  std::string_view baseDensity;  // lbm/ft3
  std::string_view viscosity;    // cp
};
constexpr std::array<Product, 4> kProducts = {{
    {"Crude oil", "54.0", "6.0"},
    {"Refined product", "44.9", "0.4"},
    {"Lube oil", "49.9", "0.4"},
    {"Special product", "55.642", "25.0"},
}};

void Select(QComboBox* list, int item) {
  const QSignalBlocker block(list);
  list->setCurrentIndex(item);
}

}  // namespace

LiquidsPage::LiquidsPage(PageHost& host, QWidget* parent)
    : Page(host, kLiquidsPage, QStringLiteral("Liquids"), 700, nullptr, parent) {
  QMXcalc::State& s = QMXcalc::Calc();

  FieldEdit* pressure = In("upstream_pressure", tr("Absolute pressure"), s.upstreamPressure,
                           QMXcalc::UpdateGaugePressure);
  FieldEdit* temperature = In("flowing_temperature", tr("Flowing temperature"), s.flowingTemperature);
  pressure->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  temperature->Edit()->setPlaceholderText(QStringLiteral("99.9"));
  auto* conditions = Group(tr("Conditions"),
                           {pressure, temperature,
                            Out("liquid_correction_factor", tr("Liquid correction factor"),
                                s.liquidCorrectionFactor),
                            Out("spare", tr("Spare output"), s.spare)});

  // Generic liquid: properties at flowing conditions.
  auto* generic = Group(tr("Generic liquid"),
                        {In("liquid_density", tr("Density, flowing"), s.liquidDensity),
                         In("liquid_viscosity", tr("Viscosity"), s.liquidViscosity)});

  // Hydrocarbon liquid: product group, base density and relative density (each follows the
  // other), viscosity and the thermal expansion coefficient of special products.
  FieldEdit* baseDensity = In("base_density", tr("Base density"), s.baseDensity,
                              QMXcalc::UpdateRelativeDensity);
  FieldEdit* relative = In("liquid_relative_density", tr("Relative density"), s.liquidRelativeDensity,
                           QString(), QMXcalc::UpdateBaseDensity);
  baseDensity->AlsoShow(relative);
  relative->AlsoShow(baseDensity);
  FieldEdit* viscosity = In("hc_liquid_viscosity", tr("Viscosity"), s.liquidViscosity);
  FieldEdit* expansion = In("thermal_expansion", tr("Thermal expansion coef."), s.thermalExpansion);
  expansion->Edit()->setToolTip(tr("Used for special products; the other groups have the "
                                   "coefficients of their API commodity group"));
  products_ = new QComboBox(this);
  products_->setObjectName("liquid_product");
  for (const Product& p : kProducts) products_->addItem(tr(p.text));
  connect(products_, &QComboBox::activated, this, [this](int index) { ChooseProduct(index); });
  auto* productLabel = new QLabel(tr("Product"), this);
  productLabel->setObjectName("liquid_product_label");
  productLabel->setBuddy(products_);
  estimate_ = new QPushButton(tr("Estimate viscosity"), this);
  estimate_->setObjectName("estimate_viscosity");
  estimate_->setToolTip(tr("Estimates the viscosity from the flowing density and temperature"));
  connect(estimate_, &QPushButton::clicked, this, [this] { Estimate(); });

  auto* hydrocarbon = new QGroupBox(tr("Hydrocarbon liquid (API MPMS 11.1)"), this);
  auto* grid = new QGridLayout(hydrocarbon);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setVerticalSpacing(2);
  grid->setColumnStretch(3, 1);
  grid->addWidget(productLabel, 0, 0);
  grid->addWidget(products_, 0, 1, 1, 3);
  baseDensity->AddTo(*grid, 1);
  relative->AddTo(*grid, 2);
  viscosity->AddTo(*grid, 3);
  expansion->AddTo(*grid, 4);
  grid->addWidget(estimate_, 5, 1, 1, 2);

  LayOutColumns({conditions, generic}, {hydrocarbon});
  Refresh();
  // Under any other fluid the page is hidden and is enabled when it is shown.
  const int fluid = QMXcalc::GetFluid();
  if (fluid == QMXcalc::kGenericLiquid || fluid == QMXcalc::kHydrocarbonLiquid) Enable();
}

void LiquidsPage::Activate() {
  Refresh();
  Recalculate();
  Enable();
}

void LiquidsPage::Refresh() {
  Page::Refresh();
  const int product = QMXcalc::GetLiquidProduct();
  Select(products_, product >= 0 && product < static_cast<int>(kProducts.size()) ? product : -1);
}

void LiquidsPage::Enable() {
  const int fluid = QMXcalc::GetFluid();
  const bool generic = fluid == QMXcalc::kGenericLiquid;
  const bool hydrocarbon = fluid == QMXcalc::kHydrocarbonLiquid;
  if (!generic && !hydrocarbon) FE::FmtToTerminal("\nEXCEPTION QMXliquids.Redisplay()");
  for (const char* name : {"liquid_density", "liquid_viscosity"}) SetEnabledByName(name, generic);
  for (const char* name : {"base_density", "liquid_relative_density", "liquid_product",
                           "liquid_product_label", "hc_liquid_viscosity", "thermal_expansion",
                           "estimate_viscosity"}) {
    SetEnabledByName(name, hydrocarbon);
  }
  // The flowing temperature is not an input of a generic liquid.
  ApplyEnablingRules(*this);
}

void LiquidsPage::ChooseProduct(int index) {
  Event([this, index] {
    if (index < 0 || index >= static_cast<int>(kProducts.size())) {
      FE::FmtToTerminal("\n***************** Fluid EXCEPTION **********************");
      return;
    }
    const int before = QMXcalc::GetLiquidProduct();
    QMXcalc::SetLiquidProduct(Changed(), index);
    if (QMXcalc::GetLiquidProduct() != before) {
      // The product's typical values replace whatever was typed.
      QMXcalc::State& s = QMXcalc::Calc();
      const Product& p = kProducts[static_cast<std::size_t>(index)];
      FUM::uDVsetValStrTempUnits("lbm/ft3", p.baseDensity, *s.baseDensity);
      FUM::uDVsetValStrTempUnits("cp", p.viscosity, *s.liquidViscosity);
      QMXcalc::UpdateRelativeDensity();
    }
    Recalculate();
  });
}

void LiquidsPage::Estimate() {
  Event([this] {
    if (!QMXcalc::EstimateLiquidViscosity()) return;
    // The estimated viscosity enters the flow results at once, like a typed one.
    Changed() = true;
    Recalculate();
  });
}

}  // namespace qmx::ui
